#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QToolButton;

namespace vantrell {

// A row of mutually exclusive segments (the settings' pickers, the analytics range). Each
// segment is a checkable QToolButton named "<objectName of the control>.segment<index>" once
// the control has an object name; currentIndexChanged() fires when the user picks another
// segment or setCurrentIndex() changes it. In a dark palette the chosen segment gets a lighter
// fill of its own, since the style's pressed shade barely differs from the dark button colour.
//
//     auto* style = new SegmentedControl({QStringLiteral("完整版"), QStringLiteral("简版")});
//     style->setObjectName(QStringLiteral("floatingStyleControl"));
//     connect(style, &SegmentedControl::currentIndexChanged, this, ...);
class SegmentedControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)

public:
    explicit SegmentedControl(const QStringList& labels = {}, QWidget* parent = nullptr);

    void setLabels(const QStringList& labels);
    int count() const;
    QToolButton* segment(int index) const;

    // -1 while no segment is chosen.
    int currentIndex() const { return m_currentIndex; }
    // Out-of-range indexes are ignored.
    void setCurrentIndex(int index);

Q_SIGNALS:
    void currentIndexChanged(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void nameSegments();
    void restyleSegments();

    QButtonGroup* m_group;
    int m_currentIndex = -1;
};

}  // namespace vantrell
