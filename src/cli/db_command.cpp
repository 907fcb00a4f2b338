#include "cli/command.h"
namespace qorvale::cli {
int RunDbCommand(const CommandArgs&) { return UsageError("db"); }
}
