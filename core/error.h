// The program's one error vocabulary. Whatever fails on its way to the user is an Error of one
// kind: what() is the text the user sees (a front end shows it in an error box or after
// "Error: " on stderr), Reason() the step's own words behind it where there are any (shown under
// the text, as "Reason: ..." on the command line). Operations throw the subclass of their kind;
// front ends catch Error.
//
// Expected outcomes that are not failures (a server with no newer database, a declined
// question) stay results; messages of the message table that an operation shows itself stay
// messages.
#pragma once

#include <stdexcept>
#include <string>

namespace morvela {

enum class ErrorKind {
  kDatabase,  // a statement or a database file failed (the engine's text)
  kInput,     // what the user or a file gave is not what the program takes
  kNetwork,   // a request failed
  kPackage,   // a downloaded package or an odds package is broken or not in the program's form
  kFile,      // a file or folder could not be read, written or locked
};

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, const std::string& text, std::string reason = {})
      : std::runtime_error(text), kind_(kind), reason_(std::move(reason)) {}
  ErrorKind Kind() const { return kind_; }
  const std::string& Reason() const { return reason_; }

 private:
  ErrorKind kind_;
  std::string reason_;
};

class DatabaseError : public Error {
 public:
  explicit DatabaseError(const std::string& text, std::string reason = {})
      : Error(ErrorKind::kDatabase, text, std::move(reason)) {}
};

class InputError : public Error {
 public:
  explicit InputError(const std::string& text, std::string reason = {})
      : Error(ErrorKind::kInput, text, std::move(reason)) {}
};

class NetworkError : public Error {
 public:
  explicit NetworkError(const std::string& text, std::string reason = {})
      : Error(ErrorKind::kNetwork, text, std::move(reason)) {}
};

class PackageError : public Error {
 public:
  explicit PackageError(const std::string& text, std::string reason = {})
      : Error(ErrorKind::kPackage, text, std::move(reason)) {}
};

class FileError : public Error {
 public:
  explicit FileError(const std::string& text, std::string reason = {})
      : Error(ErrorKind::kFile, text, std::move(reason)) {}
};

}  // namespace morvela
