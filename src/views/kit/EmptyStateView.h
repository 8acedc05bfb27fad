#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace vantrell {

// The "content unavailable" block of the list pages: a large secondary symbol, a title and a
// description, centred. Title and description are plain text.
//
//     auto* empty = new EmptyStateView(QStringLiteral("briefcase"), QStringLiteral("暂无持仓"),
//                                      QStringLiteral("..."));
//     empty->setMinimumHeight(320);
class EmptyStateView : public QWidget {
    Q_OBJECT

public:
    EmptyStateView(const QString& symbol, const QString& title, const QString& description,
                   QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QString title() const;
    QString description() const;
    void setContent(const QString& symbol, const QString& title, const QString& description);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateIcon();

    QString m_symbol;
    QLabel* m_icon;
    QLabel* m_title;
    QLabel* m_description;
};

}  // namespace vantrell
