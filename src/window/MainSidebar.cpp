#include "window/MainSidebar.h"

#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "window/AppIcon.h"
#include "window/Hairline.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vantrell {

namespace {

constexpr int sectionRole = Qt::UserRole;
constexpr int iconSize = 14;

}  // namespace

MainSidebar::MainSidebar(QWidget* parent)
    : QWidget(parent), m_list(new QListWidget), m_floatingToggle(new QPushButton)
{
    setObjectName(QStringLiteral("mainSidebar"));
    setMinimumWidth(145);
    setMaximumWidth(165);
    m_list->setObjectName(QStringLiteral("mainSidebar.sections"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setIconSize(QSize(iconSize, iconSize));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->setStyleSheet(QStringLiteral("QListWidget { background: transparent; }"));
    connect(m_list, &QListWidget::currentItemChanged, this, &MainSidebar::onCurrentItemChanged);

    m_floatingToggle->setObjectName(QStringLiteral("mainSidebar.floatingToggle"));
    m_floatingToggle->setFlat(true);
    m_floatingToggle->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; padding: 8px 12px; border-radius: 8px;"
                       " background: rgba(127, 127, 127, 0.11); }"));
    connect(m_floatingToggle, &QPushButton::clicked, this, &MainSidebar::floatingToggleClicked);
    setFloatingVisible(false);

    auto* divider = new Hairline(Qt::Horizontal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeTitleRow());
    auto* listBox = new QHBoxLayout;
    listBox->setContentsMargins(8, 0, 8, 0);
    listBox->addWidget(m_list);
    layout->addLayout(listBox, 1);
    layout->addWidget(divider);
    auto* toggleBox = new QVBoxLayout;
    toggleBox->setContentsMargins(10, 10, 10, 10);
    toggleBox->addWidget(m_floatingToggle);
    layout->addLayout(toggleBox);
}

QSize MainSidebar::sizeHint() const
{
    return {155, QWidget::sizeHint().height()};
}

QWidget* MainSidebar::makeTitleRow()
{
    auto* row = new QWidget;
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("mainSidebar.icon"));
    icon->setFixedSize(23, 23);
    const QIcon appIcon =
        QApplication::windowIcon().isNull() ? AppIcon::icon() : QApplication::windowIcon();
    icon->setPixmap(appIcon.pixmap(QSize(23, 23)));
    auto* name = new QLabel(QStringLiteral("Vantrell"));
    name->setTextFormat(Qt::PlainText);
    name->setFont(ViewFonts::font(13, QFont::DemiBold));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 14, 12, 10);
    layout->setSpacing(10);
    layout->addWidget(icon);
    layout->addWidget(name, 1);
    return row;
}

void MainSidebar::setGroups(const std::vector<MainNavigation::Group>& groups, MainSection selected)
{
    const QSignalBlocker blocker(m_list);
    if (groups != m_groups) {
        m_groups = groups;
        fillList();
    }
    m_list->setCurrentItem(itemOf(selected));
}

void MainSidebar::setFloatingVisible(bool visible)
{
    m_floatingToggle->setText(visible ? QStringLiteral("关闭悬浮窗")
                                      : QStringLiteral("打开悬浮窗"));
    refreshIcons();
}

void MainSidebar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        refreshIcons();
    }
}

// Symbols are drawn in the text colour of the palette the sidebar has now.
void MainSidebar::refreshIcons()
{
    const QColor ink = VantrellPalette::primary(this);
    m_floatingToggle->setIcon(SymbolIcon::icon(QStringLiteral("pip"), iconSize, ink));
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        const QVariant value = item->data(sectionRole);
        if (value.isValid()) {
            const auto section = static_cast<MainSection>(value.toInt());
            item->setIcon(SymbolIcon::icon(sidebarIcon(section), iconSize, ink));
        } else {
            item->setForeground(VantrellPalette::secondary(this));
        }
    }
}

std::vector<MainSection> MainSidebar::listedSections() const
{
    std::vector<MainSection> sections;
    for (int row = 0; row < m_list->count(); ++row) {
        const QVariant value = m_list->item(row)->data(sectionRole);
        if (value.isValid()) {
            sections.push_back(static_cast<MainSection>(value.toInt()));
        }
    }
    return sections;
}

std::optional<MainSection> MainSidebar::selectedSection() const
{
    const QListWidgetItem* current = m_list->currentItem();
    if (current == nullptr || !current->data(sectionRole).isValid()) {
        return std::nullopt;
    }
    return static_cast<MainSection>(current->data(sectionRole).toInt());
}

QListWidgetItem* MainSidebar::itemOf(MainSection section) const
{
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        const QVariant value = item->data(sectionRole);
        if (value.isValid() && static_cast<MainSection>(value.toInt()) == section) {
            return item;
        }
    }
    return nullptr;
}

void MainSidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::sidebar(this));
}

void MainSidebar::fillList()
{
    m_list->clear();
    bool first = true;
    for (const MainNavigation::Group& group : m_groups) {
        if (!first) {
            addGap();
        }
        first = false;
        if (!group.header.isEmpty()) {
            addHeader(group.header);
        }
        for (MainSection section : group.sections) {
            addSection(section);
        }
    }
}

void MainSidebar::addHeader(const QString& text)
{
    auto* item = new QListWidgetItem(text, m_list);
    item->setFlags(Qt::NoItemFlags);
    item->setFont(ViewFonts::font(11, QFont::DemiBold));
    item->setForeground(VantrellPalette::secondary(this));
    item->setSizeHint(QSize(0, 22));
}

void MainSidebar::addSection(MainSection section)
{
    auto* item = new QListWidgetItem(
        SymbolIcon::icon(sidebarIcon(section), iconSize, VantrellPalette::primary(this)),
        sidebarLabel(section), m_list);
    item->setData(sectionRole, static_cast<int>(section));
    item->setFont(ViewFonts::font(12, QFont::Medium));
    item->setSizeHint(QSize(0, 26));
}

void MainSidebar::addGap()
{
    auto* item = new QListWidgetItem(m_list);
    item->setFlags(Qt::NoItemFlags);
    item->setSizeHint(QSize(0, 8));
}

void MainSidebar::onCurrentItemChanged(QListWidgetItem* current)
{
    if (current != nullptr && current->data(sectionRole).isValid()) {
        Q_EMIT sectionPicked(static_cast<MainSection>(current->data(sectionRole).toInt()));
    }
}

}  // namespace vantrell
