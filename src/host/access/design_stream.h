#pragma once

// The stored design of a form or report ("Blob" in the object's sub-storage of the Access
// project) as a tree of objects with their tagged properties, exactly as the bytes hold it:
// a root (the form or report) whose children are its default-control records, a report's
// grouping levels and the sections; a section's children are its controls, a control's
// children the controls it holds. The properties stay raw here; naming them is the reader's.
//
// Two encodings: the compact one of versions 0x11 (Access 97 objects, strings in the project's
// ANSI code page) and 0x13 (Access 2000), where a tag's range fixes its size, and the explicit
// one of versions 0x14 and 0x15 (Access 2002-2003, and every BlobDelta), where each entry
// carries a property id, a type and a length.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::host::access {

struct DesignProperty {
    std::uint32_t tag = 0;
    std::uint32_t propertyId = 0;   // explicit encoding only
    std::uint32_t type = 0;         // explicit encoding only: 1 yes/no, 2 byte, 3 integer, ...
    std::string payload;            // the value's bytes as stored
    std::size_t offset = 0;         // of the entry in its stream
    bool explicitEncoding = false;  // read from an explicit entry (its type says how to read it)
    bool fromDelta = false;         // merged in from BlobDelta
};

struct DesignNode {
    int objectClass = 0;
    std::size_t offset = 0;
    std::vector<DesignProperty> properties;
    std::vector<DesignNode> children;
};

struct DesignStream {
    int version = 0;
    int versionRequired = 0;
    bool explicitEncoding = false;
    bool ansi = false;  // version 0x11: text in the project's code page, not UTF-16
    DesignNode root;
};

// Explicit-encoding type codes.
namespace design_type {
inline constexpr std::uint32_t kYesNo = 1;
inline constexpr std::uint32_t kByte = 2;
inline constexpr std::uint32_t kInteger = 3;
inline constexpr std::uint32_t kLong = 4;
inline constexpr std::uint32_t kSingle = 6;
inline constexpr std::uint32_t kDouble = 8;
inline constexpr std::uint32_t kGuid = 9;
inline constexpr std::uint32_t kText = 0x0A;
inline constexpr std::uint32_t kBinary = 0x0B;
inline constexpr std::uint32_t kMemo = 0x0C;
}  // namespace design_type

// The host::Error (30010) for a stored design or macro that does not read: `what` names the
// object and its stream ("フォーム 'Orders' の Blob"), `offset` the place in that stream.
[[noreturn]] void ThrowDesignError(std::string_view what, std::size_t offset,
                                   std::string_view reason);

// `what` names the stream in error messages ("フォーム 'Orders' の Blob"). A tag repeated within
// one object keeps its last value. Throws host::Error
// 30010 naming it and the offset for an unknown version, a tag whose size is not known, an
// entry or child list running past the end, a tree nested deeper than any design, or bytes left
// after the root object.
DesignStream ParseDesignStream(std::string_view bytes, std::string_view what);

// Adds the properties of `delta` (a BlobDelta of the same tree shape) to `design`, object by
// object; a property of a tag the design already has is replaced. Throws host::Error 30010 when
// the two trees differ in a class or a child count.
void MergeDesignDelta(DesignNode& design, const DesignNode& delta, std::string_view what);

}  // namespace zanfor::host::access
