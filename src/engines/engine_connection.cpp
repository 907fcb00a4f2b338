#include "engines/engine_connection.h"

#include <cctype>

namespace qorvale::engines {

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return true;
}

}  // namespace

EngineConnection::EngineConnection(std::unique_ptr<EngineChannel> channel)
    : channel_(std::move(channel)) {}

EngineConnection::~EngineConnection() { Close(); }

bool EngineConnection::SendEngineCommand(std::string_view text) {
    std::string bytes(text);
    // Crafty reads "exit" and "help" through a pager that waits for a line of its own.
    if (EqualsIgnoringCase(text, "exit")) bytes += "\n.";
    told_to_end_ =
        told_to_end_ || EqualsIgnoringCase(text, "exit") || EqualsIgnoringCase(text, "quit");
    bytes += '\n';
    if (EqualsIgnoringCase(text, "help")) {
        bytes += "\n\n.\n";
        reader_.CutNextReadAfterLastS();
    }
    return channel_ != nullptr && channel_->Write(bytes);
}

bool EngineConnection::SendPreparedCommand(std::string_view text) {
    std::string bytes(text);
    bytes += '\n';
    return channel_ != nullptr && channel_->Write(bytes);
}

ReadStatus EngineConnection::Read(WaitMode wait, const EngineOutputReader::Pauses& pauses) {
    if (channel_ == nullptr) return ReadStatus::Ended;
    return reader_.Read(*channel_, wait, pauses);
}

bool EngineConnection::WaitForOutput(std::chrono::milliseconds timeout) {
    return channel_ == nullptr || channel_->WaitForOutput(timeout);
}

int EngineConnection::OutputHandle() const {
    return channel_ != nullptr ? channel_->OutputHandle() : -1;
}

bool EngineConnection::FinishStop(Clock::time_point now, Clock::time_point deadline) {
    if (channel_ == nullptr) return true;
    // An engine that keeps writing while it winds down must not block on a full pipe.
    std::string drained;
    (void)channel_->Read(drained, EngineOutputSize);
    if (channel_->HasEnded()) {
        channel_->Close(std::chrono::milliseconds(0));
    } else if (now >= deadline) {
        channel_->Kill();
    } else {
        return false;
    }
    channel_.reset();
    return true;
}

void EngineConnection::CloseInput() {
    if (channel_ != nullptr) channel_->CloseInput();
}

void EngineConnection::Close() {
    if (channel_ == nullptr) return;
    channel_->Close(QuitGrace);
    channel_.reset();
}

}  // namespace qorvale::engines
