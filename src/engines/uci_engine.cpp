#include "engines/uci_engine.h"

#include "engines/messages.h"

namespace qorvale::engines {

namespace {

bool BeginsWithWord(std::string_view line, std::string_view word) {
    return line.starts_with(word) && (line.size() == word.size() || line[word.size()] == ' ');
}

std::string_view WithoutTrailingBlanks(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

}  // namespace

UciEngine::UciEngine(std::unique_ptr<EngineChannel> channel) : connection_(std::move(channel)) {}

UciEngine::~UciEngine() {
    if (Running()) StopNow();
}

void UciEngine::Start(Clock::time_point now) {
    state_ = State::AwaitUciOk;
    deadline_ = now + HandshakeWait;
    (void)connection_.SendPreparedCommand("uci");
}

std::optional<UciEngine::Clock::time_point> UciEngine::Deadline() const {
    switch (state_) {
        case State::AwaitUciOk:
        case State::AwaitReadyOk:
        case State::Stopping:
            return deadline_;
        case State::Idle:
        case State::Ready:
        case State::Stopped:
            break;
    }
    return std::nullopt;
}

void UciEngine::Fail(std::string_view message, Clock::time_point now, UciPollResult& result) {
    result.failure = Error(std::string(message));
    (void)connection_.SendPreparedCommand("quit");
    state_ = State::Stopping;
    deadline_ = now + EngineConnection::QuitGrace;
}

void UciEngine::HandshakeLine(std::string_view line, Clock::time_point now, UciPollResult& result) {
    line = WithoutTrailingBlanks(line);
    if (state_ == State::AwaitUciOk) {
        if (line == "uciok") {
            (void)connection_.SendPreparedCommand("isready");
            state_ = State::AwaitReadyOk;
            deadline_ = now + HandshakeWait;
            return;
        }
        constexpr std::string_view OptionName = "option name";
        if (line.starts_with(OptionName)) {
            std::string_view text = line.substr(OptionName.size());
            if (!text.empty()) text.remove_prefix(1);
            if (!option_list_.empty()) option_list_ += '\n';
            option_list_ += DisplayText(text);
            if (std::optional<UciOption> option = ParseUciOption(text)) {
                options_.push_back(std::move(*option));
            }
        }
        return;
    }
    if (line == "readyok") {
        state_ = State::Ready;
        result.ready = true;
    }
}

UciPollResult UciEngine::Poll(Clock::time_point now) {
    UciPollResult result;
    if (state_ == State::Idle || state_ == State::Stopped) return result;
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
        if (state_ == State::AwaitUciOk || state_ == State::AwaitReadyOk) {
            HandshakeLine(line, now, result);
            continue;
        }
        if (BeginsWithWord(line, "info") && open_searches_ > 1) continue;
        if (BeginsWithWord(line, "bestmove")) {
            const bool stale = open_searches_ > 1;
            if (open_searches_ > 0) --open_searches_;
            if (stale) continue;
        }
        UciOutputParser::Parsed parsed = parser_.Parse(line, board_, list_);
        if (parsed.kind == UciOutputParser::Kind::Info) {
            result.infos.push_back(std::move(parsed.info));
        } else if (parsed.best_move) {
            result.best_move = std::move(parsed.best_move);
        }
    }
    result.rows_added = static_cast<int>(list_.TotalAdded() - rows_before);
    const bool handshake = state_ == State::AwaitUciOk || state_ == State::AwaitReadyOk;
    if (status == ReadStatus::Ended || connection_.Output().Ended()) {
        if (!connection_.ToldToEnd()) {
            result.failure = Error(
                std::string(handshake ? messages::ErrorStartingUci : messages::UciEngineStopped));
        }
        connection_.FinishStop(now, now);
        state_ = State::Stopped;
        result.stopped = true;
    } else if (handshake && now >= deadline_) {
        Fail(messages::ErrorStartingUci, now, result);
    }
    return result;
}

bool UciEngine::Send(std::string_view command) {
    CountSearches(command);
    return connection_.SendEngineCommand(command);
}

bool UciEngine::SendPrepared(std::string_view command) {
    CountSearches(command);
    return connection_.SendPreparedCommand(command);
}

void UciEngine::CountSearches(std::string_view command) {
    while (!command.empty()) {
        std::size_t end = command.find('\n');
        if (BeginsWithWord(command.substr(0, end), "go")) ++open_searches_;
        command.remove_prefix(end == std::string_view::npos ? command.size() : end + 1);
    }
}

bool UciEngine::Analyse(const EnginePosition& position, std::string_view go) {
    board_.Set(position);
    std::string command = "stop\n" + PositionCommand(board_.Position());
    command += '\n';
    command += go;
    return SendPrepared(command);
}

const UciOption* UciEngine::FindOption(std::string_view name) const {
    for (const UciOption& option : options_) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

bool UciEngine::SetOption(std::string_view name, std::string_view value) {
    for (UciOption& option : options_) {
        if (option.name != name) continue;
        std::optional<std::string> sent = OptionValueToSend(option, value);
        if (!sent) return false;
        if (option.type != UciOption::Type::Button) option.value = *sent;
        return connection_.SendPreparedCommand(SetOptionCommand(option, *sent));
    }
    return false;
}

void UciEngine::BeginStop(Clock::time_point now) {
    if (!Running() || state_ == State::Stopping) return;
    (void)connection_.SendPreparedCommand("quit");
    state_ = State::Stopping;
    deadline_ = now + EngineConnection::QuitGrace;
}

void UciEngine::StopNow() {
    if (state_ != State::Stopping) (void)connection_.SendPreparedCommand("quit");
    connection_.Close();
    state_ = State::Stopped;
}

}  // namespace qorvale::engines
