// The error box the user actually sees: with the real reporter in place, a
// run-time error in a window's event opens a message box on that window,
// modal to it alone, naming the error's number and its message.

#include "runtime/forms/form.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

namespace {

const rt::ControlDef kControls[] = {
    {rt::ControlKind::CommandButton, "Command1", "変更", 1500, 600, 900, 300, 0},
};

class FailingForm : public rt::Form {
public:
    FailingForm() : Form("frmFailing", "失敗する窓", 3000, 1500, kControls), Timer1(*this, [] {}) {}
    rt::Timer Timer1;

protected:
    void Form_Load() override { Timer1.setInterval(10); }
};

// The one box on the form, or null.
QMessageBox* boxOn(const rt::Form& form)
{
    const auto boxes = form.findChildren<QMessageBox*>();
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

void closeAndWaitForDeletion(QMessageBox* box)
{
    const QPointer<QMessageBox> watched(box);
    box->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return watched.isNull(); }, 10000)) << "the box is deleted once closed";
}

QString expectedText(int number, const char* message, const char* caption)
{
    return QStringLiteral("実行時エラー '%1':\n\n%2\n\n「%3」のタイマーを止めました。"
                          "値を直して［変更］を押すと、もう一度動きます。")
        .arg(number)
        .arg(QString::fromUtf8(message))
        .arg(QString::fromUtf8(caption));
}

struct ErrorRow {
    const char* name;
    std::function<void()> fail;
    int number;
    const char* message;
};

class ErrorBox : public ::testing::TestWithParam<ErrorRow> {
protected:
    void SetUp() override { rt::resetErrorReporter(); }
};

TEST_P(ErrorBox, NamesTheNumberAndMessageModalToItsWindow)
{
    const ErrorRow& row = GetParam();
    FailingForm form;
    FailingForm other;
    form.Show();
    other.Show();
    ASSERT_EQ(boxOn(form), nullptr);

    form.runEvent(row.fail);

    QMessageBox* box = boxOn(form);
    ASSERT_NE(box, nullptr) << "one box on the failing window";
    EXPECT_EQ(boxOn(other), nullptr) << "and none on the other";
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->parentWidget(), &form);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(box->isWindow());
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box->text(), expectedText(row.number, row.message, "失敗する窓"));
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("実行時エラー '%1':").arg(row.number)));

    // The failing window's timer stops; the other window runs on.
    EXPECT_FALSE(form.Timer1.isTicking());
    EXPECT_TRUE(other.Timer1.isTicking());
    closeAndWaitForDeletion(box);
}

[[noreturn]] void raiseError(rt::ErrorNumber number) { throw rt::RuntimeError(number); }

INSTANTIATE_TEST_SUITE_P(
    Runtime, ErrorBox,
    ::testing::Values(
        ErrorRow{"InvalidProcedureCall", [] { raiseError(rt::ErrorNumber::InvalidProcedureCall); }, 5,
                 "プロシージャの呼び出し、または引数が不正です。"},
        ErrorRow{"Overflow", [] { raiseError(rt::ErrorNumber::Overflow); }, 6, "オーバーフローしました。"},
        ErrorRow{"OutOfMemory", [] { raiseError(rt::ErrorNumber::OutOfMemory); }, 7, "メモリが不足しています。"},
        ErrorRow{"BadAlloc", [] { throw std::bad_alloc(); }, 7, "メモリが不足しています。"},
        ErrorRow{"SubscriptOutOfRange", [] { raiseError(rt::ErrorNumber::SubscriptOutOfRange); }, 9,
                 "インデックスが有効範囲にありません。"},
        ErrorRow{"DivisionByZero", [] { raiseError(rt::ErrorNumber::DivisionByZero); }, 11, "0 で除算しました。"},
        ErrorRow{"InvalidOperation", [] { raiseError(rt::ErrorNumber::InvalidOperation); }, 16,
                 "浮動小数点演算が無効です。"},
        ErrorRow{"InvalidPropertyValue", [] { raiseError(rt::ErrorNumber::InvalidPropertyValue); }, 380,
                 "プロパティの値が不正です。"},
        ErrorRow{"OwnMessage",
                 [] { throw rt::RuntimeError(rt::ErrorNumber::InvalidProcedureCall, "コントロールがありません: Text9"); },
                 5, "コントロールがありません: Text9"}),
    [](const auto& info) { return std::string(info.param.name); });

// Reached the way a user reaches it: a refused timer value typed in a box
// and a click, through the button's own event.
TEST(ErrorBoxFromAClick, ShowsOnceForOneClick)
{
    rt::resetErrorReporter();
    FailingForm form;
    form.Show();
    QObject::connect(&form.button("Command1"), &QPushButton::clicked, &form,
                     [&] { form.runEvent([&] { form.Timer1.setInterval(65536); }); });
    QTest::mouseClick(&form.button("Command1"), Qt::LeftButton);
    QMessageBox* box = boxOn(form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), expectedText(380, "プロパティの値が不正です。", "失敗する窓"));
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    closeAndWaitForDeletion(box);
}

}  // namespace
