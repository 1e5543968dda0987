#include "runtime_error.h"

namespace rt {

std::string errorMessage(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return "プロシージャの呼び出し、または引数が不正です。";
    case ErrorNumber::Overflow:
        return "オーバーフローしました。";
    case ErrorNumber::OutOfMemory:
        return "メモリが不足しています。";
    case ErrorNumber::SubscriptOutOfRange:
        return "インデックスが有効範囲にありません。";
    case ErrorNumber::DivisionByZero:
        return "0 で除算しました。";
    case ErrorNumber::InvalidOperation:
        return "浮動小数点演算が無効です。";
    case ErrorNumber::InvalidPropertyValue:
        return "プロパティの値が不正です。";
    }
    return "実行時エラーが発生しました。";
}

RuntimeError::RuntimeError(ErrorNumber number) : RuntimeError(number, errorMessage(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, const std::string& message)
    : std::runtime_error(message), m_number(number)
{
}

}  // namespace rt
