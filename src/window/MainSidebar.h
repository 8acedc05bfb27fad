#pragma once

#include "window/MainNavigation.h"
#include "window/MainSection.h"

#include <QWidget>

#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vantrell {

// The main window's sidebar: the program's icon and name, the list of sections in groups and
// the button that shows or hides the floating panel. It only reports what the user picks:
// setting the groups or the selected row from the program never emits sectionPicked().
class MainSidebar : public QWidget {
    Q_OBJECT

public:
    explicit MainSidebar(QWidget* parent = nullptr);

    // Rebuilds the rows when the groups differ from the ones shown, then selects the row of
    // `selected`.
    void setGroups(const std::vector<MainNavigation::Group>& groups, MainSection selected);
    void setFloatingVisible(bool visible);

    // The sections listed, top to bottom, and the headers with the sections under each.
    std::vector<MainSection> listedSections() const;
    std::vector<MainNavigation::Group> groups() const { return m_groups; }
    std::optional<MainSection> selectedSection() const;
    // The row of `section`, for tests that click it.
    QListWidgetItem* itemOf(MainSection section) const;
    QListWidget* list() const { return m_list; }
    QSize sizeHint() const override;
    QPushButton* floatingToggle() const { return m_floatingToggle; }

Q_SIGNALS:
    void sectionPicked(MainSection section);
    void floatingToggleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeTitleRow();
    void fillList();
    void addHeader(const QString& text);
    void addSection(MainSection section);
    void addGap();
    void onCurrentItemChanged(QListWidgetItem* current);
    void refreshIcons();

    QListWidget* m_list;
    QPushButton* m_floatingToggle;
    std::vector<MainNavigation::Group> m_groups;
};

}  // namespace vantrell
