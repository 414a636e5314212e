#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// Replaces the file at `path` with `bytes` so that it is never seen half written: the bytes go
/// to a temporary file in the same folder, which is flushed to disk and then renamed over the
/// file. A failure leaves the old file whole and returns the reason. A file that existed keeps
/// its permissions; a new one gets the usual ones.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace lanthor
