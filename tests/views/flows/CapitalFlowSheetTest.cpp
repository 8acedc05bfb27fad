#include "views/flows/CapitalFlowsDialog.h"

#include "support/StagedPortfolio.h"
#include "views/kit/FitLabel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class CapitalFlowSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        staged.stage(Exchange::binance, "100");
        sheet = std::make_unique<CapitalFlowsDialog>(staged.store(), staged.clock);
        sheet->show();
        QCoreApplication::processEvents();
    }

    template <typename T>
    T* child(const QString& name) const
    {
        return sheet->findChild<T*>(name);
    }
    QPushButton* addButton() const
    {
        return child<QPushButton>(QStringLiteral("capitalFlowAddButton"));
    }
    QLineEdit* amount() const { return child<QLineEdit>(QStringLiteral("capitalFlowAmount")); }

    void type(const QString& text)
    {
        amount()->clear();
        QTest::keyClicks(amount(), text);
    }
    void addFlow(const QString& text, bool deposit, Date date)
    {
        child<QComboBox>(QStringLiteral("capitalFlowKind"))->setCurrentIndex(deposit ? 0 : 1);
        child<QDateTimeEdit>(QStringLiteral("capitalFlowDate"))->setDateTime(date.toDateTime());
        type(text);
        QTest::mouseClick(addButton(), Qt::LeftButton);
    }
    QStringList rowAmounts() const
    {
        QStringList texts;
        for (int i = 0;; ++i) {
            const auto* label = child<FitLabel>(QStringLiteral("capitalFlowRow.%1.amount").arg(i));
            if (label == nullptr) {
                return texts;
            }
            texts.append(label->text());
        }
    }
    QMessageBox* confirmation() const
    {
        return child<QMessageBox>(QStringLiteral("capitalFlowRemoveConfirmation"));
    }

    StagedPortfolio staged;
    std::unique_ptr<CapitalFlowsDialog> sheet;
};

TEST_F(CapitalFlowSheetTest, OnlyPositivePointDecimalsCanBeAdded)
{
    struct Case {
        const char* text;
        bool valid;
    };
    for (const Case& entry : {Case{"", false}, Case{"0", false}, Case{"-5", false},
                              Case{"abc", false}, Case{"12,5", false}, Case{"12abc", false},
                              Case{" 12.5", false}, Case{"0.000001", true}, Case{"12.5", true}}) {
        type(QString::fromUtf8(entry.text));
        EXPECT_EQ(addButton()->isEnabled(), entry.valid) << entry.text;
    }
    // Neither a click on the disabled button nor Enter writes anything.
    type(QStringLiteral("12,5"));
    QTest::mouseClick(addButton(), Qt::LeftButton);
    QTest::keyClick(amount(), Qt::Key_Return);
    EXPECT_TRUE(staged.store().capitalFlows().empty());
    EXPECT_EQ(amount()->text(), QStringLiteral("12,5"));
}

TEST_F(CapitalFlowSheetTest, AmountTooLargeToRecordIsExplained)
{
    auto* message = child<FitLabel>(QStringLiteral("capitalFlowAmountTooLarge"));
    ASSERT_NE(message, nullptr);
    EXPECT_FALSE(message->isVisible());
    type(QStringLiteral("1e400"));
    EXPECT_FALSE(addButton()->isEnabled());
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), QStringLiteral("金额过大，单笔最多 1000 万亿 USD。"));
    QTest::keyClick(amount(), Qt::Key_Return);
    EXPECT_TRUE(staged.store().capitalFlows().empty());

    type(QStringLiteral("1000000000000000"));
    EXPECT_TRUE(addButton()->isEnabled());
    EXPECT_FALSE(message->isVisible());
}

TEST_F(CapitalFlowSheetTest, AddsSignedByKindAndKeepsKindAndDate)
{
    const Date when = staged.clock.now().addingSeconds(-7200);
    addFlow(QStringLiteral("12.5"), false, when);
    ASSERT_EQ(staged.store().capitalFlows().size(), 1u);
    EXPECT_EQ(staged.store().capitalFlows()[0].amountUSD, *Decimal::parse("-12.5"));
    EXPECT_EQ(staged.store().capitalFlows()[0].timestamp.secondsSince(when), 0);
    EXPECT_TRUE(amount()->text().isEmpty());
    EXPECT_FALSE(addButton()->isEnabled());
    EXPECT_EQ(child<QComboBox>(QStringLiteral("capitalFlowKind"))->currentText(),
              QStringLiteral("提出"));
    EXPECT_EQ(
        Date::fromDateTime(child<QDateTimeEdit>(QStringLiteral("capitalFlowDate"))->dateTime()),
        when);

    // The next one of the same kind needs only its amount.
    type(QStringLiteral("1000"));
    QTest::mouseClick(addButton(), Qt::LeftButton);
    ASSERT_EQ(staged.store().capitalFlows().size(), 2u);
    EXPECT_EQ(staged.store().capitalFlows()[1].amountUSD, Decimal(-1000));
}

TEST_F(CapitalFlowSheetTest, ListsNewestFirstWhereverTheDateFalls)
{
    const Date now = staged.clock.now();
    EXPECT_TRUE(rowAmounts().isEmpty());
    addFlow(QStringLiteral("1000"), true, now.addingSeconds(-86'400));
    addFlow(QStringLiteral("250.50"), false, now.addingSeconds(-3600));
    EXPECT_EQ(rowAmounts(),
              QStringList({QStringLiteral("提出 $250.5"), QStringLiteral("充入 $1000")}));
    // An earlier date goes below the newer records.
    addFlow(QStringLiteral("7"), true, now.addingSeconds(-2 * 86'400));
    EXPECT_EQ(rowAmounts(), QStringList({QStringLiteral("提出 $250.5"),
                                         QStringLiteral("充入 $1000"), QStringLiteral("充入 $7")}));
}

TEST_F(CapitalFlowSheetTest, RemovesOnlyAfterConfirmation)
{
    const Date now = staged.clock.now();
    staged.store().addCapitalFlow(Decimal(1000), now.addingSeconds(-7200));
    staged.store().addCapitalFlow(Decimal(-40), now.addingSeconds(-3600));
    const Uuid newest = staged.store().capitalFlows().back().id;

    // Asking, then closing the question without "移除", removes nothing.
    QTest::mouseClick(child<QToolButton>(QStringLiteral("capitalFlowRow.0.remove")),
                      Qt::LeftButton);
    ASSERT_NE(confirmation(), nullptr);
    EXPECT_EQ(confirmation()->text(), QStringLiteral("移除这条手动记录？"));
    EXPECT_EQ(sheet->pendingRemoval(), newest);
    EXPECT_EQ(staged.store().capitalFlows().size(), 2u);
    QTest::keyClick(confirmation(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sheet->pendingRemoval(), std::nullopt);
    EXPECT_EQ(staged.store().capitalFlows().size(), 2u);
    EXPECT_EQ(confirmation(), nullptr);

    QTest::mouseClick(child<QToolButton>(QStringLiteral("capitalFlowRow.0.remove")),
                      Qt::LeftButton);
    QTest::mouseClick(
        confirmation()->findChild<QPushButton*>(QStringLiteral("capitalFlowConfirmRemoveButton")),
        Qt::LeftButton);
    ASSERT_EQ(staged.store().capitalFlows().size(), 1u);
    EXPECT_EQ(staged.store().capitalFlows()[0].amountUSD, Decimal(1000));
    EXPECT_EQ(sheet->pendingRemoval(), std::nullopt);
    EXPECT_EQ(rowAmounts(), QStringList({QStringLiteral("充入 $1000")}));
}

// Amounts with many digits are elided; each row's trash button stays inside the list.
TEST_F(CapitalFlowSheetTest, LongAmountsLeaveTheTrashButtonsInReach)
{
    const Date now = staged.clock.now();
    const QString longAmount = QStringLiteral("999999999999999.9999999999999999999999999");
    staged.store().addCapitalFlow(*Decimal::parse(longAmount), now.addingSeconds(-7200));
    staged.store().addCapitalFlow(*Decimal::parse("-1e-60"), now.addingSeconds(-3600));
    ASSERT_EQ(staged.store().capitalFlows().size(), 2u);
    // The rows lay out first, then the list fits their widget: let both happen.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();
    }

    const QString fullTexts[] = {QStringLiteral("提出 $0.") + QString(59, u'0') + u'1',
                                 QStringLiteral("充入 $") + longAmount};
    const QWidget* viewport = child<QScrollArea>(QStringLiteral("capitalFlowList"))->viewport();
    for (int i = 0; i < 2; ++i) {
        const QString row = QStringLiteral("capitalFlowRow.%1").arg(i);
        auto* remove = child<QToolButton>(row + QStringLiteral(".remove"));
        ASSERT_NE(remove, nullptr);
        const QRect shown(remove->mapTo(viewport, QPoint(0, 0)), remove->size());
        EXPECT_TRUE(viewport->rect().contains(shown)) << i;
        // The whole amount is still there to read.
        EXPECT_EQ(child<QWidget>(row + QStringLiteral(".amount"))->toolTip(), fullTexts[i]);
    }
    QTest::mouseClick(child<QToolButton>(QStringLiteral("capitalFlowRow.1.remove")),
                      Qt::LeftButton);
    ASSERT_NE(confirmation(), nullptr);
    EXPECT_EQ(sheet->pendingRemoval(), staged.store().capitalFlows().front().id);
}

TEST_F(CapitalFlowSheetTest, EscapeAndDoneClose)
{
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    sheet->show();
    QTest::mouseClick(child<QPushButton>(QStringLiteral("capitalFlowsDoneButton")), Qt::LeftButton);
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(CapitalFlowSheetTest, DatesAfterNowCannotBeChosen)
{
    auto* date = child<QDateTimeEdit>(QStringLiteral("capitalFlowDate"));
    date->setDateTime(staged.clock.now().addingSeconds(86'400).toDateTime());
    EXPECT_LE(Date::fromDateTime(date->dateTime()), staged.clock.now());
}

}  // namespace
