#include "views/flows/CapitalFlowsDialog.h"

#include "platform/SystemTimeZone.h"
#include "store/PortfolioStore.h"
#include "views/analytics/CaptionLabel.h"
#include "views/flows/CapitalFlowEntry.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrell {

namespace {

constexpr int sheetWidth = 460;
constexpr int kindPickerWidth = 140;
constexpr int listHeight = 160;

QFont captionFont()
{
    return ViewFonts::font(11);
}

QString toStr(QStringView text)
{
    return text.toString();
}

}  // namespace

CapitalFlowsDialog::CapitalFlowsDialog(PortfolioStore& store, const Clock& clock, QWidget* parent)
    : QDialog(parent),
      m_store(&store),
      m_clock(clock),
      m_kind(new QComboBox),
      m_amount(new QLineEdit),
      m_date(new QDateTimeEdit),
      m_tooLarge(new FitLabel(captionFont())),
      m_add(new QPushButton(toStr(CapitalFlowEntry::addButton)))
{
    setObjectName(QStringLiteral("capitalFlowsSheet"));
    setWindowTitle(toStr(CapitalFlowEntry::sheetTitle));
    setFixedWidth(sheetWidth);
    auto* title = new QLabel(toStr(CapitalFlowEntry::sheetTitle));
    title->setObjectName(QStringLiteral("capitalFlowsTitle"));
    title->setFont(ViewFonts::font(13, QFont::DemiBold));
    auto* explanation = new CaptionLabel(toStr(CapitalFlowEntry::explanation), captionFont());
    explanation->setObjectName(QStringLiteral("capitalFlowsExplanation"));
    explanation->setWordWrap(true);

    m_add->setObjectName(QStringLiteral("capitalFlowAddButton"));
    m_add->setAutoDefault(false);
    m_add->setEnabled(false);
    connect(m_add, &QPushButton::clicked, this, &CapitalFlowsDialog::add);
    auto* done = new QPushButton(toStr(CapitalFlowEntry::doneButton));
    done->setObjectName(QStringLiteral("capitalFlowsDoneButton"));
    done->setAutoDefault(false);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    auto* footer = new QHBoxLayout;
    footer->addStretch(1);
    footer->addWidget(done);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addLayout(inputRow());
    layout->addWidget(m_tooLarge);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(toStr(CapitalFlowEntry::dateLabel)));
    dateRow->addWidget(m_date, 1);
    layout->addLayout(dateRow);
    layout->addWidget(m_add, 0, Qt::AlignLeft);
    layout->addWidget(listArea());
    layout->addLayout(footer);

    connect(&store, &PortfolioStore::capitalFlowsChanged, this, &CapitalFlowsDialog::rebuildList);
    // The date may be at most the current time, which moves on while the sheet is open.
    auto* latest = new QTimer(this);
    connect(latest, &QTimer::timeout, this,
            [this] { m_date->setMaximumDateTime(m_clock.now().toDateTime()); });
    latest->start(30'000);
    rebuildList();
}

QLayout* CapitalFlowsDialog::inputRow()
{
    auto* kindLabel = new QLabel(toStr(CapitalFlowEntry::kindLabel));
    m_kind->setObjectName(QStringLiteral("capitalFlowKind"));
    m_kind->addItem(toStr(CapitalFlowEntry::depositLabel), true);
    m_kind->addItem(toStr(CapitalFlowEntry::withdrawalLabel), false);
    auto* kind = new QWidget;
    kind->setFixedWidth(kindPickerWidth);
    auto* kindLayout = new QHBoxLayout(kind);
    kindLayout->setContentsMargins(0, 0, 0, 0);
    kindLayout->addWidget(kindLabel);
    kindLayout->addWidget(m_kind, 1);

    m_amount->setObjectName(QStringLiteral("capitalFlowAmount"));
    m_amount->setPlaceholderText(toStr(CapitalFlowEntry::amountPlaceholder));
    connect(m_amount, &QLineEdit::textChanged, this, &CapitalFlowsDialog::amountEdited);
    m_tooLarge->setObjectName(QStringLiteral("capitalFlowAmountTooLarge"));
    m_tooLarge->setText(toStr(CapitalFlowEntry::tooLargeMessage));
    m_tooLarge->setColorProvider(
        [](const QWidget* widget) { return VantrellPalette::systemOrange(widget); });
    m_tooLarge->setVisible(false);

    const QDateTime now = m_clock.now().toDateTime().toLocalTime();
    m_date->setObjectName(QStringLiteral("capitalFlowDate"));
    m_date->setDisplayFormat(QLocale().dateTimeFormat(QLocale::ShortFormat));
    m_date->setCalendarPopup(true);
    m_date->setMaximumDateTime(now);
    m_date->setDateTime(now);

    auto* row = new QHBoxLayout;
    row->addWidget(kind);
    row->addWidget(m_amount, 1);
    return row;
}

QWidget* CapitalFlowsDialog::listArea()
{
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("capitalFlowRows"));
    m_rows = new QVBoxLayout(rows);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    m_rows->addStretch(1);
    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("capitalFlowList"));
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setFixedHeight(listHeight);
    area->setWidget(rows);
    area->viewport()->setAutoFillBackground(false);
    rows->setAutoFillBackground(false);
    return area;
}

void CapitalFlowsDialog::amountEdited()
{
    m_add->setEnabled(CapitalFlowEntry::parseAmount(m_amount->text()).has_value());
    m_tooLarge->setVisible(CapitalFlowEntry::isTooLarge(m_amount->text()));
}

void CapitalFlowsDialog::add()
{
    const std::optional<Decimal> amount = CapitalFlowEntry::parseAmount(m_amount->text());
    if (!amount || !m_store) {
        return;
    }
    const bool isDeposit = m_kind->currentData().toBool();
    m_store->addCapitalFlow(CapitalFlowEntry::signedAmount(*amount, isDeposit),
                            Date::fromDateTime(m_date->dateTime()));
    // Kind and date stay, so several flows of one kind go in one after another.
    m_amount->clear();
}

void CapitalFlowsDialog::rebuildList()
{
    if (m_rows == nullptr) {
        return;
    }
    while (m_rows->count() > 1) {
        QLayoutItem* item = m_rows->takeAt(0);
        delete item->widget();
        delete item;
    }
    if (!m_store) {
        return;
    }
    const std::vector<CapitalFlow> flows = CapitalFlowEntry::newestFirst(m_store->capitalFlows());
    for (std::size_t i = 0; i < flows.size(); ++i) {
        m_rows->insertWidget(static_cast<int>(i), row(static_cast<int>(i), flows[i]));
    }
}

QWidget* CapitalFlowsDialog::row(int index, const CapitalFlow& flow)
{
    const QString name = QStringLiteral("capitalFlowRow.%1").arg(index);
    auto* row = new QWidget;
    row->setObjectName(name);
    auto* date = new QLabel(CapitalFlowEntry::dateText(flow, QLocale(), systemTimeZone()));
    date->setObjectName(name + QStringLiteral(".date"));
    date->setTextFormat(Qt::PlainText);
    date->setFont(captionFont());
    // A long amount (many digits either side of the point) is elided rather than pushing the
    // trash button out of the list; the whole text stays in the tooltip.
    auto* amount = new FitLabel(captionFont());
    amount->setObjectName(name + QStringLiteral(".amount"));
    amount->setText(CapitalFlowEntry::amountText(flow));
    amount->setToolTip(amount->text());
    amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* remove = new QToolButton;
    remove->setObjectName(name + QStringLiteral(".remove"));
    remove->setAutoRaise(true);
    remove->setIcon(
        SymbolIcon::icon(QStringLiteral("trash"), 12, VantrellPalette::secondary(this)));
    connect(remove, &QToolButton::clicked, this, [this, id = flow.id] { askRemoval(id); });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 4, 4);
    layout->addWidget(date);
    layout->addStretch(1);
    layout->addWidget(amount);
    layout->addWidget(remove);
    return row;
}

void CapitalFlowsDialog::askRemoval(const Uuid& id)
{
    m_deleting = id;
    auto* box =
        new QMessageBox(QMessageBox::Question, toStr(CapitalFlowEntry::removeQuestion),
                        toStr(CapitalFlowEntry::removeQuestion), QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("capitalFlowRemoveConfirmation"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* remove =
        box->addButton(toStr(CapitalFlowEntry::removeButton), QMessageBox::DestructiveRole);
    remove->setObjectName(QStringLiteral("capitalFlowConfirmRemoveButton"));
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    cancel->setObjectName(QStringLiteral("capitalFlowCancelRemoveButton"));
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    if (const auto mode = WindowAppearanceBridge::appliedMode(this)) {
        WindowAppearanceBridge::apply(box, *mode);
    }
    connect(box, &QMessageBox::finished, this,
            [this, box, remove] { removalAnswered(box, remove); });
    box->open();
}

void CapitalFlowsDialog::removalAnswered(QMessageBox* box, QPushButton* remove)
{
    // However the dialog closed, nothing waits for confirmation afterwards.
    const std::optional<Uuid> id = std::exchange(m_deleting, std::nullopt);
    if (id && box->clickedButton() == remove && m_store) {
        m_store->removeCapitalFlow(*id);
    }
}

void CapitalFlowsDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // The rows' symbols are drawn in the palette's secondary colour.
    if (event->type() == QEvent::PaletteChange) {
        rebuildList();
    }
}

void CapitalFlowsDialog::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
