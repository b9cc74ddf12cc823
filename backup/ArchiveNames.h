// How names and titles are kept in an archive. Archives hold 8-bit text of
// the system's ANSI code page, and every older copy of the program reads
// them so; a name that code page spells exactly is still kept that way. A
// name it cannot spell (it would come back as "?" or a look-alike letter, so
// a restore would write another file) is kept as UTF-8 instead. The reader
// takes a name that is valid UTF-8 and holds a byte of 0x80 or more as UTF-8,
// and any other name as ANSI; the writer keeps the ANSI form only when the
// reader gives back the very same name from it.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace bs {

// The system's text rules an archive depends on. An unset function acts as
// if the code page were plain ASCII: other characters have no ANSI form,
// ANSI bytes of 0x80 or more read as U+FFFD, and only a to z change case.
struct ArchiveTextCodec {
    // `text` (UTF-8) in the ANSI code page; nullopt when the code page cannot
    // spell every character exactly.
    std::function<std::optional<std::string>(const std::string&)> ToAnsi;
    // ANSI text as UTF-8.
    std::function<std::string(const std::string&)> FromAnsi;
    // `text` (UTF-8) in lower case by the file system's rules for every letter.
    std::function<std::string(const std::string&)> Lower;
    // `text` (UTF-8) in upper case by the file system's table, the form in
    // which it compares names: two names are one file when these agree.
    std::function<std::string(const std::string&)> Upper;
};

// The bytes kept in the archive for `name` (UTF-8).
std::string EncodeArchiveName(const ArchiveTextCodec& codec, const std::string& name);
// The name (UTF-8) that the archive's bytes `stored` stand for.
std::string DecodeArchiveName(const ArchiveTextCodec& codec, const std::string& stored);
// `text` (UTF-8) lower-cased the way the archive lower-cases names.
std::string LowerArchiveName(const ArchiveTextCodec& codec, const std::string& text);
// The form in which the file system compares `path` (UTF-8) with others. A
// lower-cased name does not always name the same file ("İ" lowers to "i",
// whose upper case is "I"); comparing these forms tells.
std::string FileNameKey(const ArchiveTextCodec& codec, const std::string& path);

} // namespace bs
