// See Exception.h.
#include "framework/Exception.h"

#include "framework/Strings.h"

Exception::Exception(std::wstring message)
    : std::runtime_error(bv::WideToUtf8(message)), message_(std::move(message)) {}

std::wstring ExceptionText(const std::exception& error) {
  if (auto* e = dynamic_cast<const Exception*>(&error)) return e->Message();
  return bv::Utf8ToWide(error.what());
}
