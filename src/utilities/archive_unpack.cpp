#include "utilities/archive_unpack.h"

#include <archive.h>
#include <archive_entry.h>

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/shared_library.h"

namespace qorvale::utilities {

namespace {

// libarchive, loaded when an archive is first unpacked rather than at every start of the program.
struct ArchiveLibrary {
    decltype(&::archive_read_new) read_new = nullptr;
    decltype(&::archive_read_free) read_free = nullptr;
    decltype(&::archive_read_support_format_zip) read_support_format_zip = nullptr;
    decltype(&::archive_read_support_filter_gzip) read_support_filter_gzip = nullptr;
    decltype(&::archive_read_support_filter_bzip2) read_support_filter_bzip2 = nullptr;
    decltype(&::archive_read_support_format_raw) read_support_format_raw = nullptr;
    decltype(&::archive_read_open_filename) read_open_filename = nullptr;
    decltype(&::archive_read_open_memory) read_open_memory = nullptr;
    decltype(&::archive_read_next_header) read_next_header = nullptr;
    decltype(&::archive_read_data) read_data = nullptr;
    decltype(&::archive_read_data_skip) read_data_skip = nullptr;
    decltype(&::archive_error_string) error_string = nullptr;
    decltype(&::archive_entry_pathname) entry_pathname = nullptr;
    decltype(&::archive_entry_filetype) entry_filetype = nullptr;
};

const ArchiveLibrary* Archive() {
    static const ArchiveLibrary* const loaded = []() -> const ArchiveLibrary* {
        void* library = platform::LoadSharedLibrary({"libarchive.so.13", "libarchive.so"});
        if (library == nullptr) return nullptr;
        static ArchiveLibrary api;
        bool whole = true;
        auto bind = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(
                platform::SharedLibrarySymbol(library, name));
            whole = whole && slot != nullptr;
        };
        bind(api.read_new, "archive_read_new");
        bind(api.read_free, "archive_read_free");
        bind(api.read_support_format_zip, "archive_read_support_format_zip");
        bind(api.read_support_filter_gzip, "archive_read_support_filter_gzip");
        bind(api.read_support_filter_bzip2, "archive_read_support_filter_bzip2");
        bind(api.read_support_format_raw, "archive_read_support_format_raw");
        bind(api.read_open_filename, "archive_read_open_filename");
        bind(api.read_open_memory, "archive_read_open_memory");
        bind(api.read_next_header, "archive_read_next_header");
        bind(api.read_data, "archive_read_data");
        bind(api.read_data_skip, "archive_read_data_skip");
        bind(api.error_string, "archive_error_string");
        bind(api.entry_pathname, "archive_entry_pathname");
        bind(api.entry_filetype, "archive_entry_filetype");
        return whole ? &api : nullptr;
    }();
    return loaded;
}

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_read_free)>;

// Opens a reader for `form` on whichever input `open` gives it.
ArchivePtr OpenReader(PackedForm form, const std::function<int(archive*)>& open) {
    ArchivePtr reader(Archive()->read_new(), Archive()->read_free);
    if (!reader) return reader;
    switch (form) {
        case PackedForm::Zip:
            Archive()->read_support_format_zip(reader.get());
            break;
        case PackedForm::Gzip:
            Archive()->read_support_filter_gzip(reader.get());
            Archive()->read_support_format_raw(reader.get());
            break;
        case PackedForm::Bzip2:
            Archive()->read_support_filter_bzip2(reader.get());
            Archive()->read_support_format_raw(reader.get());
            break;
        case PackedForm::Plain:
            return ArchivePtr(nullptr, Archive()->read_free);
    }
    if (open(reader.get()) != ARCHIVE_OK) return ArchivePtr(nullptr, Archive()->read_free);
    return reader;
}

std::string EntryName(archive_entry* entry, PackedForm form, const std::string& single_name) {
    if (form != PackedForm::Zip) return single_name;
    const char* name = Archive()->entry_pathname(entry);
    return name == nullptr ? std::string() : std::string(name);
}

// First pass: every name is checked before anything is written.
UnpackOutcome CheckNames(archive* reader, PackedForm form, const std::string& single_name) {
    UnpackOutcome outcome;
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = Archive()->read_next_header(reader, &entry)) == ARCHIVE_OK) {
        const std::string name = EntryName(entry, form, single_name);
        if (!IsSafeEntryName(name)) {
            outcome.status = UnpackStatus::UnsafePath;
            outcome.entry = name;
            return outcome;
        }
        Archive()->read_data_skip(reader);
    }
    if (status != ARCHIVE_EOF) {
        outcome.status = UnpackStatus::Damaged;
        const char* text = Archive()->error_string(reader);
        outcome.detail = text == nullptr ? "" : text;
    }
    return outcome;
}

UnpackOutcome CopyEntries(archive* reader, PackedForm form, const std::string& single_name,
                          std::int64_t max_bytes, UnpackSink& sink) {
    UnpackOutcome outcome;
    auto fail = [&](UnpackStatus status, const std::string& name) {
        outcome.status = status;
        outcome.entry = name;
        const char* text = Archive()->error_string(reader);
        if (status == UnpackStatus::Damaged && text != nullptr) outcome.detail = text;
        return outcome;
    };
    std::int64_t total = 0;
    std::vector<char> buffer(1 << 16);
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = Archive()->read_next_header(reader, &entry)) == ARCHIVE_OK) {
        const std::string name = EntryName(entry, form, single_name);
        const bool regular =
            form != PackedForm::Zip || Archive()->entry_filetype(entry) == AE_IFREG;
        if (!regular || !sink.Begin(name)) {
            Archive()->read_data_skip(reader);
            continue;
        }
        for (;;) {
            const la_ssize_t got = Archive()->read_data(reader, buffer.data(), buffer.size());
            if (got < 0) return fail(UnpackStatus::Damaged, name);
            if (got == 0) break;
            total += got;
            if (max_bytes > 0 && total > max_bytes) return fail(UnpackStatus::TooLarge, name);
            if (sink.Cancelled()) return fail(UnpackStatus::Cancelled, name);
            if (!sink.Write(buffer.data(), static_cast<std::size_t>(got))) {
                return fail(UnpackStatus::WriteFailed, name);
            }
        }
        if (!sink.End()) return fail(UnpackStatus::WriteFailed, name);
    }
    if (status != ARCHIVE_EOF) return fail(UnpackStatus::Damaged, {});
    return outcome;
}

UnpackOutcome Unpack(PackedForm form, const std::function<int(archive*)>& open,
                     const std::string& single_name, std::int64_t max_bytes, UnpackSink& sink) {
    UnpackOutcome outcome;
    if (Archive() == nullptr) {
        outcome.status = UnpackStatus::Damaged;
        outcome.detail = "libarchive (package libarchive13) could not be loaded";
        return outcome;
    }
    ArchivePtr checker = OpenReader(form, open);
    if (!checker) {
        outcome.status = UnpackStatus::Damaged;
        return outcome;
    }
    outcome = CheckNames(checker.get(), form, single_name);
    if (outcome.status != UnpackStatus::Done) return outcome;
    ArchivePtr reader = OpenReader(form, open);
    if (!reader) {
        outcome.status = UnpackStatus::Damaged;
        return outcome;
    }
    return CopyEntries(reader.get(), form, single_name, max_bytes, sink);
}

}  // namespace

PackedForm DetectPackedForm(std::string_view first_bytes) {
    if (first_bytes.starts_with("PK\x03\x04") || first_bytes.starts_with("PK\x05\x06")) {
        return PackedForm::Zip;
    }
    if (first_bytes.starts_with("\x1f\x8b")) return PackedForm::Gzip;
    if (first_bytes.starts_with("BZh")) return PackedForm::Bzip2;
    return PackedForm::Plain;
}

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return name.find('\0') == std::string_view::npos;
}

UnpackOutcome UnpackArchiveFile(const std::string& path, PackedForm form,
                                const std::string& single_name, std::int64_t max_bytes,
                                UnpackSink& sink) {
    return Unpack(
        form,
        [&path](archive* reader) {
            return Archive()->read_open_filename(reader, path.c_str(), 1 << 16);
        },
        single_name, max_bytes, sink);
}

UnpackOutcome UnpackArchiveMemory(std::string_view bytes, PackedForm form,
                                  const std::string& single_name, std::int64_t max_bytes,
                                  UnpackSink& sink) {
    return Unpack(
        form,
        [bytes](archive* reader) {
            return Archive()->read_open_memory(reader, bytes.data(), bytes.size());
        },
        single_name, max_bytes, sink);
}

}  // namespace qorvale::utilities
