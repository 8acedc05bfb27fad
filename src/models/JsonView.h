#pragma once

#include "models/JsonDocument.h"
#include "models/JsonValue.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>

namespace vantrell {

struct JsonMemberView;

// A read-only look at one JSON value, either a node of a parsed JsonDocument or a JsonValue
// tree (so records decode from both the same way). Small and cheap to copy; it does not own
// what it looks at, which must outlive it.
class JsonView {
public:
    using Type = JsonValue::Type;

    // Implicit on purpose: whatever decodes a view decodes a tree built in code.
    JsonView(const JsonValue& value) noexcept : m_value(&value) {}  // NOLINT
    explicit JsonView(const JsonDocument::Node& node) noexcept : m_node(&node) {}

    Type type() const { return m_node != nullptr ? m_node->type : m_value->type(); }
    bool isNull() const { return type() == Type::null; }
    bool isBool() const { return type() == Type::boolean; }
    bool isNumber() const { return type() == Type::number; }
    bool isString() const { return type() == Type::string; }
    bool isArray() const { return type() == Type::array; }
    bool isObject() const { return type() == Type::object; }

    // Accessors; calling one on a value of another type is a programming error (asserted) and
    // gives an empty result.
    bool boolValue() const;
    // The number's exact text, or the string's UTF-8 bytes.
    std::string_view text() const
    {
        Q_ASSERT(isNumber() || isString());
        if (!isNumber() && !isString()) {
            return {};
        }
        return m_node != nullptr ? m_node->textView() : std::string_view(m_value->text());
    }
    QString toQString() const;  // a string value as QString

    class ItemIterator;
    class MemberIterator;
    template <typename Iterator>
    struct Range {
        Iterator first;
        Iterator last;
        std::size_t count;
        Iterator begin() const { return first; }
        Iterator end() const { return last; }
        std::size_t size() const { return count; }
        bool empty() const { return count == 0; }
    };
    Range<ItemIterator> items() const;
    Range<MemberIterator> members() const;

    // The value of the last member named `key` of an object, or nothing when the object has no
    // such member (or this is not an object).
    std::optional<JsonView> find(std::string_view key) const;
    // What find() gives for each key, found in one pass over the members: a record reading
    // several keys walks its object once.
    template <std::size_t N>
    std::array<std::optional<JsonView>, N> findEach(const std::string_view (&names)[N]) const;

    // A tree holding the same value.
    JsonValue toValue() const;

private:
    static bool isKey(const JsonDocument::Node& key, std::string_view name);

    const JsonDocument::Node* m_node = nullptr;
    const JsonValue* m_value = nullptr;
};

struct JsonMemberView {
    std::string_view key;
    JsonView value;
};

class JsonView::ItemIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = JsonView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = JsonView;

    ItemIterator() = default;
    explicit ItemIterator(const JsonDocument::Node* node) : m_node(node) {}
    explicit ItemIterator(const JsonValue* value) : m_value(value) {}

    JsonView operator*() const
    {
        return m_node != nullptr ? JsonView(*m_node) : JsonView(*m_value);
    }
    ItemIterator& operator++()
    {
        if (m_node != nullptr) {
            m_node = m_node->next();
        } else {
            ++m_value;
        }
        return *this;
    }
    ItemIterator operator++(int)
    {
        ItemIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const ItemIterator&, const ItemIterator&) = default;

private:
    const JsonDocument::Node* m_node = nullptr;
    const JsonValue* m_value = nullptr;
};

class JsonView::MemberIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = JsonMemberView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = JsonMemberView;

    MemberIterator() = default;
    explicit MemberIterator(const JsonDocument::Node* key) : m_key(key) {}
    explicit MemberIterator(const JsonMember* member) : m_member(member) {}

    JsonMemberView operator*() const
    {
        if (m_key != nullptr) {
            return {m_key->textView(), JsonView(m_key[1])};
        }
        return {m_member->key, JsonView(m_member->value)};
    }
    MemberIterator& operator++()
    {
        if (m_key != nullptr) {
            m_key = m_key[1].next();
        } else {
            ++m_member;
        }
        return *this;
    }
    MemberIterator operator++(int)
    {
        MemberIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const MemberIterator&, const MemberIterator&) = default;

private:
    const JsonDocument::Node* m_key = nullptr;
    const JsonMember* m_member = nullptr;
};

// Keys are short and most differ in length; equal lengths of eight bytes or more are compared
// first as two words, the first eight bytes and the last eight, which may overlap.
inline bool JsonView::isKey(const JsonDocument::Node& key, std::string_view name)
{
    if (key.size != name.size()) {
        return false;
    }
    if (name.size() < sizeof(std::uint64_t)) {
        return std::equal(name.begin(), name.end(), key.text);
    }
    const auto word = [](const char* p) {
        std::uint64_t value = 0;
        std::memcpy(&value, p, sizeof value);
        return value;
    };
    const std::size_t last = name.size() - sizeof(std::uint64_t);
    if (word(key.text) != word(name.data()) || word(key.text + last) != word(name.data() + last)) {
        return false;
    }
    return name.size() <= 2 * sizeof(std::uint64_t) ||
           std::memcmp(key.text + 8, name.data() + 8, last - 8) == 0;
}

template <std::size_t N>
std::array<std::optional<JsonView>, N> JsonView::findEach(const std::string_view (&names)[N]) const
{
    std::array<std::optional<JsonView>, N> found{};
    if (m_node == nullptr || m_node->type != Type::object) {
        for (std::size_t i = 0; i < N; ++i) {
            found[i] = find(names[i]);
        }
        return found;
    }
    // Duplicate keys: the last one wins, as in find().
    const JsonDocument::Node* const end = m_node->next();
    for (const JsonDocument::Node* member = m_node + 1; member != end; member = member[1].next()) {
        for (std::size_t i = 0; i < N; ++i) {
            if (isKey(*member, names[i])) {
                found[i] = JsonView(member[1]);
            }
        }
    }
    return found;
}

}  // namespace vantrell
