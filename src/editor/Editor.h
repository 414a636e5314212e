#pragma once

#include <functional>
#include <string>

namespace lanthor {

/// Runs the desktop editor, `lanthor [FILE...]`: one window per FILE, or one new document when
/// there is none, after offering the unsaved documents that an earlier run left behind. Qt's own
/// options (such as -platform) are taken from the arguments first. Bad usage goes to
/// `usageError`, whose result is returned. Returns 1 when no window could be opened, else the
/// application's exit status.
int runEditor(int& argc, char** argv, const std::function<int(const std::string&)>& usageError);

} // namespace lanthor
