#include <string>

#include "cli/command.h"
#include "openings/tree_merge.h"
#include "openings/tree_source.h"
#include "pgn/pgn_file.h"
#include "utilities/fast_file_operation.h"
#include "utilities/worker.h"

namespace qorvale::cli {

// tree-merge make|merge MERGE.trm FILE.pgn: copies FILE's games (its fast file's records when it
// is current, else read from the text) into a new merge file, or appends them to an existing one,
// as "Make Merge File" does.
int RunTreeMergeCommand(const CommandArgs& args) {
    if (args.words.size() != 3) return UsageError("tree-merge");
    const std::string& action = args.words[0];
    if (action != "make" && action != "merge") return UsageError("tree-merge");
    const bool append = action == "merge";
    Result<std::string> merge_path = openings::ChooseMergeFile(args.words[1], append, *args.ui);
    if (!merge_path) return 1;

    // The games the merge file holds, to tell a completed copy from a failed one (which leaves
    // the merge file as it was).
    auto records = [&merge_path] {
        openings::TreeSourceRequest source;
        source.kind = openings::TreeSourceKind::MergeFile;
        source.path = *merge_path;
        Result<std::unique_ptr<openings::TreeSource>> opened = openings::TreeSource::Open(source);
        return opened ? (*opened)->GameCount() : 0;
    };
    const std::int32_t before = append ? records() : 0;
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[2], *args.ui)) return 1;
    const std::int32_t games = file.GameCount();
    std::span<const std::uint32_t> offsets = file.Index().Offsets();
    utilities::MakeFastFileRequest request{
        file.CurrentPath(), {offsets.begin(), offsets.end()}, true, {*merge_path, append}};
    file.Close();
    utilities::Worker worker(*args.ui);
    if (utilities::StartMakeFastFile(worker, std::move(request))) return 1;
    worker.Wait();
    return records() == before + games ? 0 : 1;
}

}  // namespace qorvale::cli
