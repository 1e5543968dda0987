#pragma once
// Saving a file so that it is either complete or untouched. Plain C++: no
// Qt; the command line and the windows save through it.
//
// The data go to a hidden temporary file beside the file being saved; only
// when every byte is on the disk is it renamed over the old one. Saving
// through a symbolic link writes the file the link points to (the temporary
// file beside that one), never replaces the link. An existing file keeps its
// permission bits (and its owner and group where the user may set them); a
// file without a write bit, or one the user may not write, is refused, as is
// anything that is not an ordinary file. The temporary file is removed on
// every failure, and on SIGINT, SIGTERM, SIGHUP and SIGXFSZ once
// removeTemporaryFilesOnSignals() has been called.

#include <functional>
#include <string>
#include <string_view>

namespace measure {

using Sink = std::function<void(std::string_view)>;

// Saves what `produce` hands its sink. Returns an empty string on success,
// or a message naming the file and the reason, in `language` (a code of
// the translation files). If `produce` throws, the temporary file is
// removed and the exception goes on.
std::string saveFile(const std::string& path, const std::function<void(const Sink&)>& produce,
                     std::string_view language = "en");

// The file a save to `path` would write: `path` with its symbolic links
// followed (the last one may point to a file not yet made). Two names of
// one file give the same answer, whichever way they are spelled.
std::string savedFileOf(const std::string& path);

// Installs handlers for SIGINT, SIGTERM, SIGHUP and SIGXFSZ that remove the
// temporary files of saves under way, call `beforeDying` (which must be
// async-signal-safe; may be null) and let the signal end the program as it
// would have. Where there are no such signals it does nothing.
void removeTemporaryFilesOnSignals(void (*beforeDying)(int signal) = nullptr);

// Removes the temporary files of saves under way, from a signal handler of
// the caller's own (async-signal-safe): those saves then fail and leave the
// files they were to replace untouched.
void removeTemporaryFilesNow();

}  // namespace measure
