#include "runtime/numeric/runtime_error.h"

// The messages are marked for the translation tools; the window that reports
// an error shows it in the language the user chose. The marker itself is
// only a name here: this layer has no Qt in it.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace rt {

const char* errorReportText()
{
    return QT_TRANSLATE_NOOP("rt::Form", "実行時エラー '%1':\n\n%2\n\n「%3」のタイマーを止めました。"
                                         "値を直して［変更］を押すと、もう一度動きます。");
}

std::string errorMessage(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return QT_TRANSLATE_NOOP("RuntimeError", "プロシージャの呼び出し、または引数が不正です。");
    case ErrorNumber::Overflow:
        return QT_TRANSLATE_NOOP("RuntimeError", "オーバーフローしました。");
    case ErrorNumber::OutOfMemory:
        return QT_TRANSLATE_NOOP("RuntimeError", "メモリが不足しています。");
    case ErrorNumber::SubscriptOutOfRange:
        return QT_TRANSLATE_NOOP("RuntimeError", "インデックスが有効範囲にありません。");
    case ErrorNumber::DivisionByZero:
        return QT_TRANSLATE_NOOP("RuntimeError", "0 で除算しました。");
    case ErrorNumber::InvalidOperation:
        return QT_TRANSLATE_NOOP("RuntimeError", "浮動小数点演算が無効です。");
    case ErrorNumber::InvalidPropertyValue:
        return QT_TRANSLATE_NOOP("RuntimeError", "プロパティの値が不正です。");
    }
    return QT_TRANSLATE_NOOP("RuntimeError", "実行時エラーが発生しました。");
}

RuntimeError::RuntimeError(ErrorNumber number) : RuntimeError(number, errorMessage(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, const std::string& message)
    : std::runtime_error(message), m_number(number)
{
}

}  // namespace rt
