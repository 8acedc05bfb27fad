#pragma once

#include <QByteArray>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <string_view>

namespace vantrell::bench::generated {

// Compact JSON written member by member, as the exchanges send theirs. An empty key writes a
// bare value (an array element).
class ReplyWriter {
public:
    ReplyWriter() : m_writer(m_buffer) {}

    ReplyWriter& text(std::string_view key, std::string_view value)
    {
        keyed(key);
        m_writer.String(value.data(), length(value));
        return *this;
    }
    ReplyWriter& integer(std::string_view key, std::int64_t value)
    {
        keyed(key);
        m_writer.Int64(value);
        return *this;
    }
    ReplyWriter& boolean(std::string_view key, bool value)
    {
        keyed(key);
        m_writer.Bool(value);
        return *this;
    }
    ReplyWriter& null(std::string_view key)
    {
        keyed(key);
        m_writer.Null();
        return *this;
    }
    ReplyWriter& beginObject(std::string_view key = {})
    {
        keyed(key);
        m_writer.StartObject();
        return *this;
    }
    ReplyWriter& endObject()
    {
        m_writer.EndObject();
        return *this;
    }
    ReplyWriter& beginArray(std::string_view key = {})
    {
        keyed(key);
        m_writer.StartArray();
        return *this;
    }
    ReplyWriter& endArray()
    {
        m_writer.EndArray();
        return *this;
    }

    QByteArray body() const
    {
        return QByteArray(m_buffer.GetString(), static_cast<qsizetype>(m_buffer.GetSize()));
    }

private:
    static rapidjson::SizeType length(std::string_view text)
    {
        return static_cast<rapidjson::SizeType>(text.size());
    }
    void keyed(std::string_view key)
    {
        if (!key.empty()) {
            m_writer.Key(key.data(), length(key));
        }
    }

    rapidjson::StringBuffer m_buffer;
    rapidjson::Writer<rapidjson::StringBuffer> m_writer;
};

}  // namespace vantrell::bench::generated
