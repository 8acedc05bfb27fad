#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace vantrell {

// A UUID whose text form is 36 upper-case characters in 8-4-4-4-12 groups.
class Uuid {
public:
    static Uuid random();
    // Accepts upper- or lower-case hexadecimal in the 8-4-4-4-12 layout, nothing else.
    static std::optional<Uuid> fromString(const QString& text);

    QString toString() const;
    const QUuid& value() const { return m_value; }

    friend bool operator==(const Uuid&, const Uuid&) = default;

private:
    explicit Uuid(QUuid value) : m_value(value) {}
    QUuid m_value;
};

}  // namespace vantrell
