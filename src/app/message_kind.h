#pragma once

#include <string_view>

namespace qorvale::app {

// How a message of the program is shown: its icon tells the user at a glance whether something
// went wrong, may go wrong, or is only being said.
enum class MessageKind { Information, Warning, Error };

// The kind of one of the program's fixed messages, read from its wording: failures ("Error ...",
// "Invalid ...", "... is missing", "Not enough memory.") are errors; warnings, refusals ("Must
// ...", "Sorry ...") and rules a value broke ("... must ...") are warnings; the rest informs.
MessageKind KindOfMessage(std::string_view message);

}  // namespace qorvale::app
