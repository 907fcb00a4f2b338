#include "engines/crafty_engine.h"

#include "engines/engine_output.h"
#include "engines/messages.h"

namespace qorvale::engines {

CraftyEngine::CraftyEngine(std::unique_ptr<EngineChannel> channel)
    : connection_(std::move(channel)) {}

CraftyEngine::~CraftyEngine() {
    if (state_ != State::Stopped) StopNow();
}

void CraftyEngine::Start(CraftyMode mode, std::vector<std::string> start_commands,
                         Clock::time_point now) {
    mode_ = mode;
    start_commands_ = std::move(start_commands);
    state_ = State::AwaitGreeting;
    deadline_ = now + GreetingWait;
}

std::optional<CraftyEngine::Clock::time_point> CraftyEngine::Deadline() const {
    if (state_ == State::AwaitGreeting || state_ == State::Stopping) return deadline_;
    return std::nullopt;
}

CraftyPollResult CraftyEngine::Poll(Clock::time_point now) {
    CraftyPollResult result;
    if (state_ == State::Stopped) return result;
    if (state_ == State::Stopping) {
        if (connection_.FinishStop(now, deadline_)) {
            state_ = State::Stopped;
            result.stopped = true;
        }
        return result;
    }
    const std::uint64_t rows_before = list_.TotalAdded();
    ReadStatus status = connection_.Read();
    for (std::string_view line : connection_.Output().Lines()) {
        list_.Add(DisplayText(line));
        if (mode_ == CraftyMode::Play) {
            if (std::optional<std::string_view> move = CraftyMoveFromLine(line)) {
                result.engine_moves.emplace_back(*move);
            }
        } else if (mode_ == CraftyMode::Analyse) {
            if (std::optional<ProfilePoint> point = ParseCraftyProfileLine(line)) {
                result.profile.push_back(*point);
            }
        }
    }
    result.rows_added = static_cast<int>(list_.TotalAdded() - rows_before);
    if (state_ == State::AwaitGreeting && (status == ReadStatus::Data || now >= deadline_)) {
        for (const std::string& command : start_commands_) {
            (void)connection_.SendPreparedCommand(command);
        }
        state_ = State::Running;
        result.started = true;
    }
    if (status == ReadStatus::Ended || connection_.Output().Ended()) {
        if (!connection_.ToldToEnd()) result.failure = Error(std::string(messages::CraftyStopped));
        connection_.FinishStop(now, now);
        state_ = State::Stopped;
        result.stopped = true;
    }
    return result;
}

std::string_view CraftyEngine::Type(std::string_view text) {
    std::string_view refusal = TypedCommandRefusal(text, mode_, entry_);
    if (refusal.empty()) (void)connection_.SendEngineCommand(text);
    return refusal;
}

void CraftyEngine::BeginStop(Clock::time_point now) {
    if (state_ == State::Stopping || state_ == State::Stopped) return;
    connection_.CloseInput();
    state_ = State::Stopping;
    deadline_ = now + EngineConnection::QuitGrace;
}

void CraftyEngine::StopNow() {
    connection_.Close();
    state_ = State::Stopped;
}

}  // namespace qorvale::engines
