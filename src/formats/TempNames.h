// The names of the files a save writes before they take their final names:
// "FILE.varnock-PID-XXXXXX.tmp" beside the file (or in the backup folder),
// so that one left behind by a killed save can be told from the user's own
// files, and removed once no process of its maker is alive.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock {

// Creates a new, empty temporary file for `filePart` in `folder`; its
// descriptor and name, or -1 with errno set.
int CreateTempFileFor(const std::string& folder, const std::string& filePart, std::string& name);

// The process id in a temporary file's name (the file part), when it is one
// of `filePart` (or, with `prefixOnly`, of a file whose name begins with
// it); an empty `filePart` takes the temporary file of any file.
std::optional<long> TempFileOwner(std::string_view entry, std::string_view filePart = {}, bool prefixOnly = false);

// Removes the temporary files of `filePart` (as TempFileOwner matches them)
// in `folder` whose process has ended; returns how many were removed.
// Nothing else is touched.
int RemoveStaleTempFiles(const std::string& folder, const std::string& filePart, bool prefixOnly = false);

// Makes a write past the file-size limit fail with EFBIG ("File too large")
// instead of ending the process, so that a save can fail cleanly.
void IgnoreFileSizeSignal();

}  // namespace varnock
