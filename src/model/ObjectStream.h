#pragma once
// The object stream: the binary form in which a tree of TManager objects is
// written to map files and copied in memory. A stream is the signature
// "TPF0" followed by one object record (class name, object name, properties,
// end byte, child records, end byte).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class TManager;

namespace hexlane {

// Writes the signature and the record of `root` with all its descendants.
void WriteObjectStream(const TManager& root, std::string& out);

// Appends the parts of one record without the signature: the head (class
// name, object name, stored properties and the byte that ends them, no
// children), or the whole record with its descendants. A stream is the
// signature, a head, the children's records and one zero byte.
void WriteObjectHead(const TManager& object, std::string& out);
void WriteObjectRecord(const TManager& object, std::string& out);

// Writes the stream to an open file; false when the file refuses bytes.
bool WriteObjectStream(const TManager& root, std::FILE* file);

// Reads a stream into an existing root: the root record's class name is
// ignored, its name, properties and children go to `root`. False on any
// malformed input; the objects read before the failure stay in the tree.
bool ReadObjectStreamInto(TManager& root, std::string_view bytes);
bool ReadObjectStreamInto(TManager& root, std::FILE* file, std::uint64_t fileSize);

// Reads a stream as a new object of the class the root record names.
// Null on malformed input. A property missing from a record keeps the value
// a new object starts with; with `absentIsDefault` it takes the property's
// declared default instead, the one value the writer leaves out, so that
// bytes this program wrote come back exactly (a line thickness of 1 stays 1
// rather than reading back as 0).
std::unique_ptr<TManager> ReadObjectStream(std::string_view bytes, bool absentIsDefault = false);

}  // namespace hexlane
