#pragma once

#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The one way every JSON file of the program is read and written. Nothing here
// throws for a missing file, a parse error or a node of the wrong type: callers
// get an empty handle or a null pointer and keep their defaults.

using JsonDocument = std::shared_ptr<nlohmann::json>;

// Null when the file cannot be opened or is not exactly one JSON value
// (malformed text, trailing garbage, an empty file). Comments are not JSON.
JsonDocument LoadJsonFile(const std::filesystem::path& path);

// A read-only view of one value inside a shared document; the document lives as
// long as the longest-lived handle on it.
struct JsonReadHandle
{
    JsonDocument document;
    const nlohmann::json* value = nullptr;

    bool IsEmpty() const { return value == nullptr; }

    // The member value, or null when the handle is empty, its value is not an
    // object or the key is absent. Keys compare as exact bytes.
    const nlohmann::json* Find(std::string_view key) const;
};

JsonReadHandle OpenJsonReadHandle(const std::filesystem::path& path);

// A handle that finds its node again from the root by JSON pointer on every
// use, so it stays valid while other nodes are added to the document.
class JsonNodeHandle
{
public:
    JsonNodeHandle() = default;

    static JsonNodeHandle NewObjectDocument();
    static JsonNodeHandle NewArrayDocument();

    bool IsNull() const { return m_document == nullptr; }
    const std::string& Path() const { return m_path; }

    // The addressed value, or null for a null handle. A path that no longer
    // resolves raises the library's out-of-range error.
    nlohmann::json* Resolve() const;

    // Member `key` of this object node, created when missing and replaced by an
    // empty object (array) when it holds anything else. Null when this node is
    // not an object.
    JsonNodeHandle ChildObject(std::string_view key) const;
    JsonNodeHandle ChildArray(std::string_view key) const;

    // A new empty object appended to this array node; null when it is not an array.
    JsonNodeHandle AppendObject() const;

    // Writes the whole document (not only this node) with an indent of 2 and raw
    // UTF-8. The target is replaced atomically; false when the text cannot be
    // made (a string that is not UTF-8) or the file cannot be written, and the
    // previous file is then left as it was.
    bool SaveToFile(const std::wstring& path) const;
    bool SaveToFile(const std::filesystem::path& path) const;

private:
    JsonNodeHandle(JsonDocument document, std::string path);
    JsonNodeHandle Child(std::string_view key, bool wantArray) const;

    JsonDocument m_document;
    std::string m_path;
};

// Type-strict member readers: the field changes only when `object` is an object
// holding `key` in the expected JSON type. Integers accept only JSON integers
// that fit an int (6.0 and 2^40 are ignored); doubles accept any number.
void JsonReadInt(const nlohmann::json& object, std::string_view key, int& field);
void JsonReadDouble(const nlohmann::json& object, std::string_view key, double& field);
void JsonReadBool(const nlohmann::json& object, std::string_view key, bool& field);
void JsonReadString(const nlohmann::json& object, std::string_view key, std::string& field);

// Numbers the documents store keep 4 decimals: value x 10000 rounded in double,
// halves away from zero. A value too large to scale has no decimals left and is
// returned as it is, as are NaN and the infinities.
double RoundToFourDecimals(double value);

// RFC 6901: "~" becomes "~0", "/" becomes "~1".
std::string EscapeJsonPointerToken(std::string_view key);

// path + "/" + index in decimal.
std::string JsonIndexPath(const std::string& path, size_t index);
