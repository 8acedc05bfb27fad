#pragma once

#include <QWidget>

namespace vantrell {

// Stands in for a page that is not part of this build yet: the section's title and a line
// saying so. Named "placeholderPage.<name>".
class PlaceholderPage : public QWidget {
    Q_OBJECT

public:
    PlaceholderPage(const QString& name, const QString& title, QWidget* parent = nullptr);

    const QString& title() const { return m_title; }

private:
    QString m_title;
};

}  // namespace vantrell
