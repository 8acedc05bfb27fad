#include "models/JsonView.h"

#include <QtGlobal>

#include <string>
#include <utility>

namespace vantrell {

bool JsonView::boolValue() const
{
    Q_ASSERT(isBool());
    if (m_node != nullptr) {
        return m_node->type == Type::boolean && m_node->boolean;
    }
    return m_value->isBool() && m_value->boolValue();
}

QString JsonView::toQString() const
{
    Q_ASSERT(isString());
    if (!isString()) {
        return {};
    }
    const std::string_view bytes = text();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

JsonView::Range<JsonView::ItemIterator> JsonView::items() const
{
    Q_ASSERT(isArray());
    if (!isArray()) {
        return {};
    }
    if (m_node != nullptr) {
        return {ItemIterator(m_node + 1), ItemIterator(m_node->next()), m_node->size};
    }
    const JsonValue::Array& items = m_value->items();
    return {ItemIterator(items.data()), ItemIterator(items.data() + items.size()), items.size()};
}

JsonView::Range<JsonView::MemberIterator> JsonView::members() const
{
    Q_ASSERT(isObject());
    if (!isObject()) {
        return {};
    }
    if (m_node != nullptr) {
        return {MemberIterator(m_node + 1), MemberIterator(m_node->next()), m_node->size};
    }
    const JsonValue::Object& members = m_value->members();
    return {MemberIterator(members.data()), MemberIterator(members.data() + members.size()),
            members.size()};
}

std::optional<JsonView> JsonView::find(std::string_view key) const
{
    if (!isObject()) {
        return std::nullopt;
    }
    if (m_value != nullptr) {
        const JsonValue* found = m_value->find(key);
        return found != nullptr ? std::optional<JsonView>(*found) : std::nullopt;
    }
    // Duplicate keys: the last one wins, as in the tree.
    const JsonDocument::Node* found = nullptr;
    const JsonDocument::Node* const end = m_node->next();
    for (const JsonDocument::Node* member = m_node + 1; member != end; member = member[1].next()) {
        if (isKey(*member, key)) {
            found = member + 1;
        }
    }
    return found != nullptr ? std::optional<JsonView>(JsonView(*found)) : std::nullopt;
}

JsonValue JsonView::toValue() const
{
    if (m_value != nullptr) {
        return *m_value;
    }
    switch (m_node->type) {
        case Type::null:
            return JsonValue::null();
        case Type::boolean:
            return JsonValue::boolean(m_node->boolean);
        case Type::number:
            return JsonValue::numberText(std::string(m_node->textView()));
        case Type::string:
            return JsonValue::string(std::string(m_node->textView()));
        case Type::array: {
            JsonValue::Array items;
            items.reserve(m_node->size);
            for (const JsonView item : this->items()) {
                items.push_back(item.toValue());
            }
            return JsonValue::array(std::move(items));
        }
        case Type::object: {
            JsonValue::Object members;
            members.reserve(m_node->size);
            for (const JsonMemberView member : this->members()) {
                members.push_back(JsonMember{std::string(member.key), member.value.toValue()});
            }
            return JsonValue::object(std::move(members));
        }
    }
    return JsonValue::null();
}

}  // namespace vantrell
