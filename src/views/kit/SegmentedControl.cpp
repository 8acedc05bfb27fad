#include "views/kit/SegmentedControl.h"

#include "views/kit/VantrellPalette.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace vantrell {

SegmentedControl::SegmentedControl(const QStringList& labels, QWidget* parent)
    : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedControl::setCurrentIndex);
    connect(m_group, &QButtonGroup::idToggled, this, &SegmentedControl::restyleSegments);
    connect(this, &QObject::objectNameChanged, this, &SegmentedControl::nameSegments);
    setLabels(labels);
}

void SegmentedControl::setLabels(const QStringList& labels)
{
    for (QAbstractButton* button : m_group->buttons()) {
        m_group->removeButton(button);
        delete button;
    }
    for (int index = 0; index < labels.size(); ++index) {
        auto* button = new QToolButton(this);
        button->setText(labels.at(index));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_group->addButton(button, index);
        layout()->addWidget(button);
    }
    m_currentIndex = -1;
    nameSegments();
    restyleSegments();
}

int SegmentedControl::count() const
{
    return static_cast<int>(m_group->buttons().size());
}

QToolButton* SegmentedControl::segment(int index) const
{
    return qobject_cast<QToolButton*>(m_group->button(index));
}

void SegmentedControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_currentIndex) {
        return;
    }
    m_currentIndex = index;
    segment(index)->setChecked(true);
    Q_EMIT currentIndexChanged(index);
}

void SegmentedControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        restyleSegments();
    }
}

// Only the chosen segment of a dark control has a palette of its own; every other segment
// inherits the control's, so the light look stays the style's.
void SegmentedControl::restyleSegments()
{
    const bool dark = VantrellPalette::isDark(this);
    const QColor button = palette().color(QPalette::Button);
    const QColor text = VantrellPalette::primary(this);
    // The button colour taken a third of the way towards the text colour.
    const QColor fill = QColor::fromRgbF(button.redF() + (text.redF() - button.redF()) / 3,
                                         button.greenF() + (text.greenF() - button.greenF()) / 3,
                                         button.blueF() + (text.blueF() - button.blueF()) / 3);
    for (QAbstractButton* segment : m_group->buttons()) {
        if (dark && segment->isChecked()) {
            QPalette own;
            own.setColor(QPalette::Button, fill);
            segment->setPalette(own);
        } else if (segment->testAttribute(Qt::WA_SetPalette)) {
            segment->setPalette(QPalette());
        }
    }
}

void SegmentedControl::nameSegments()
{
    if (objectName().isEmpty()) {
        return;
    }
    for (int index = 0; index < count(); ++index) {
        segment(index)->setObjectName(objectName() + QStringLiteral(".segment") +
                                      QString::number(index));
    }
}

}  // namespace vantrell
