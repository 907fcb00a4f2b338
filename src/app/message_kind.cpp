#include "app/message_kind.h"

namespace qorvale::app {

MessageKind KindOfMessage(std::string_view message) {
    constexpr std::string_view ErrorStarts[] = {"Error", "Invalid", "Initialization error",
                                                "Not enough memory", "Cannot"};
    constexpr std::string_view ErrorParts[] = {"corruption", "is missing", "out of sync",
                                               "not saved", "failed"};
    constexpr std::string_view WarningStarts[] = {"Warning",   "Sorry",    "Must ",
                                                  "More than", "Multiple", "Only "};
    constexpr std::string_view WarningParts[] = {" must ", " requires ", " not allowed",
                                                 " longer than ", " needs "};
    for (std::string_view start : ErrorStarts) {
        if (message.starts_with(start)) return MessageKind::Error;
    }
    for (std::string_view part : ErrorParts) {
        if (message.find(part) != std::string_view::npos) return MessageKind::Error;
    }
    for (std::string_view start : WarningStarts) {
        if (message.starts_with(start)) return MessageKind::Warning;
    }
    for (std::string_view part : WarningParts) {
        if (message.find(part) != std::string_view::npos) return MessageKind::Warning;
    }
    return MessageKind::Information;
}

}  // namespace qorvale::app
