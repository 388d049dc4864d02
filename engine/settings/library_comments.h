#pragma once

#include <string>
#include <unordered_map>

// The comments of one library folder, kept in its "meta.json": an array of
// {"comment", "file"} objects. File names compare exactly, letter case included.
using LibraryCommentMap = std::unordered_map<std::wstring, std::string>; // name -> UTF-8 comment

// A missing, malformed or mistyped "meta.json" reads as no comments; a later
// entry for the same name wins.
LibraryCommentMap LoadLibraryComments(const std::wstring& folderPath);

// The comment stored for the file in its folder, empty when there is none.
std::string GetLibraryComment(const std::wstring& filePath);

// Sets the comment of the last entry for the file (the one the reader lets
// win) and drops its earlier entries, or appends one, creating the folder and
// "meta.json" when missing. Entries that are not objects are
// dropped and other members of an entry are not kept. A "meta.json" that
// exists but is not JSON is refused (false, the file stays as it was) rather
// than replaced, so a typo in a hand edit does not lose the folder's comments.
bool SetLibraryComment(const std::wstring& filePath, const std::wstring& comment);

// Gives every entry of oldName the new name. True when there was nothing to
// rewrite or the rewrite succeeded; the folder is never created here.
bool RenameLibraryCommentEntry(const std::wstring& folderPath, const std::wstring& oldName,
                               const std::wstring& newName);

// Drops every entry of `name` (a file about to be replaced by another's
// rename). True when there was nothing to drop or the rewrite succeeded; a
// "meta.json" that exists but is not JSON is refused, as SetLibraryComment does.
bool RemoveLibraryCommentEntries(const std::wstring& folderPath, const std::wstring& name);
