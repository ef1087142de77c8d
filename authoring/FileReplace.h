#pragma once
// Replacing a file a tool writes so that nothing is ever lost: the new
// contents go to a temporary file created exclusively beside the file
// (never through a link someone left there), are flushed and checked, and
// only then renamed over the file. A failure leaves the old file exactly as
// it was, removes the temporary file and says why in the words of strerror.
#include <functional>
#include <string>

// Where a write to path really lands: symbolic links are followed one by
// one to the file they lead to, so that a link stays a link and its target
// gets the new text (a link to a file not made yet makes it). Empty, with
// the reason in error, when the path cannot be written: what it leads to is
// not a plain file (a directory, a FIFO: never opened), or the links loop.
std::string writeTarget(const std::string& path, std::string& error);

// For writers that only take a file name (save_png): writeTo writes the
// temporary file named by its argument and returns 0, or -1 with a reason.
// The temporary file is then flushed and handed to check (when given),
// which returns 0 when the file holds what was meant, before the rename.
using FileWriter = std::function<int(const std::string& temporary, std::string& error)>;

// 0, or -1 with the reason in error ("cannot write out.txt: No space left
// on device"); the old file is then untouched. beforeRename, when given,
// runs once the new contents are flushed beside the file, just before the
// rename (its -1 and reason stop the save there): what a save does besides
// (a backup of the old file) is then done only for a save that wrote.
int replaceFile(const std::string& path, const std::string& contents, std::string& error,
                const FileWriter& beforeRename = nullptr);
int replaceFileWith(const std::string& path, const FileWriter& writeTo, std::string& error,
                    const FileWriter& check = nullptr);
