#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorvale::platform {

// The names (not paths) of the plain files in `folder` that match `pattern`, a shell wildcard
// such as "*.pgn" compared without regard to letter case, sorted by name.
std::vector<std::string> ListFolder(const std::string& folder, std::string_view pattern);

// The names of the subfolders of `folder` ("." and ".." left out), sorted by name.
std::vector<std::string> ListSubfolders(const std::string& folder);

// The process's current folder, or "" when it cannot be read.
std::string CurrentFolder();

// `folder` + "/" + `name`, without doubling a separator; an absolute `name` is returned as it is.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder part of a path ("" for a bare name) and the name part.
std::string FolderOf(std::string_view path);
std::string NameOf(std::string_view path);

// Whether two paths name the same existing folder (links and relative forms resolved); false
// when either does not exist.
bool SameFolder(const std::string& a, const std::string& b);

// An environment variable, or "" when unset.
std::string EnvironmentValue(const char* name);

// Whether `name` matches the wildcard `pattern` ('*' and '?'), ignoring letter case.
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace qorvale::platform
