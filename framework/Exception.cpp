// See Exception.h.
#include "framework/Exception.h"

#include "framework/Strings.h"

Exception::Exception(std::wstring message)
    : std::runtime_error(bv::WideToUtf8(message)), message_(std::move(message)) {}
