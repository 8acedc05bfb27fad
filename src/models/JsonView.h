#pragma once

#include "models/JsonDocument.h"
#include "models/JsonValue.h"

#include <QString>

#include <cstddef>
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
    std::string_view text() const;  // the number's exact text, or the string's UTF-8 bytes
    QString toQString() const;      // a string value as QString

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

    // A tree holding the same value.
    JsonValue toValue() const;

private:
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

}  // namespace vantrell
