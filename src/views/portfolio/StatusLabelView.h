#pragma once

#include "views/portfolio/StatusLabel.h"

#include <QFont>
#include <QWidget>

class QLabel;

namespace vantrell {

class FitLabel;

// An exchange's refresh state as a symbol and a text in the state's colour. The text can be
// an exchange's own error message, so it is plain text.
class StatusLabelView : public QWidget {
    Q_OBJECT

public:
    StatusLabelView(const StatusLabel& status, const QFont& font, QWidget* parent = nullptr);

    const StatusLabel& status() const { return m_status; }
    QString text() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateIcon();

    StatusLabel m_status;
    QLabel* m_icon;
    FitLabel* m_text;
};

}  // namespace vantrell
