// The engine's error type. Every layer throws jet::Error (or a subclass naming
// the layer); `what()` is a message meant for a person, taken from the message
// catalogue, and `code()` lets callers tell the kinds apart without parsing it.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum class ErrorCode {
  FileNotFound,
  NotADatabase,   // not a Jet file, truncated, damaged header
  Unsupported,    // encoded database, a format feature we do not handle
  BadPassword,
  Corrupt,        // a structure inside the file is inconsistent
  Io,             // the operating system refused a read or write
  ReadOnly,
  Locked,
  NoSuchTable,
  NoSuchField,    // Jet reports this as too few parameters
  NoSuchIndex,
  Syntax,
  TableExists,
  FieldExists,
  IndexExists,
  TypeMismatch,
  DuplicateKey,
  NullInRequired,
  Overflow,
  Transaction,
  Interrupted,    // the user stopped the statement; its changes were rolled back
  Invalid,        // anything else the statement cannot do
};

class Error : public std::runtime_error {
 public:
  Error(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ErrorCode code() const { return code_; }

 private:
  ErrorCode code_;
};

// One subclass per layer, so a caller can tell where a failure arose.
class FileError : public Error {
  using Error::Error;
};
class FormatError : public Error {
  using Error::Error;
};
class StorageError : public Error {
  using Error::Error;
};
class SqlError : public Error {
  using Error::Error;
};

}  // namespace jet
