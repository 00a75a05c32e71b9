// The one error type of the program: an exception that carries a message for the user. It is
// caught at every window procedure, timer and hook boundary and shown by the application's error
// display (TApplication::HandleException).
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(std::wstring message);
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// The text of any error for the user: the message of an Exception, else what() as UTF-8.
std::wstring ExceptionText(const std::exception& error);

// A text that cannot be converted to the value asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// An object used as a class it is not (for example an owner that is not a form).
class EInvalidCast : public Exception {
 public:
  using Exception::Exception;
};

// A component name that is not a valid identifier or is already taken.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// A string list operation that breaks the list's rules (duplicates, index out of range).
class EStringListError : public Exception {
 public:
  using Exception::Exception;
};
