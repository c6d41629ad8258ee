#pragma once

#include <stdexcept>
#include <string>

namespace wh {

// The program's own failures; the message is shown to the user as it stands.
class EWingharbour : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operation given up because the user asked to close the program. It is
// a failure like any other on its way up, but the window shows no box for it.
class EOperationCancelled : public EWingharbour {
public:
    using EWingharbour::EWingharbour;
};

// The runtime's file errors. They carry only their message, like EWingharbour,
// and travel to the event handler that started the operation.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EFOpenError : public EFileError { // a file cannot be opened or created
public:
    using EFileError::EFileError;
};

// Raises EFOpenError "Cannot open file \"<path>\". <reason>", the path as
// NativePath shows it.
[[noreturn]] void RaiseOpenError(const std::string& path, const std::string& reason);

class EReadError : public EFileError {
public:
    using EFileError::EFileError;
};

class EWriteError : public EFileError {
public:
    using EFileError::EFileError;
};

class EInOutError : public EFileError { // any other input/output failure
public:
    using EFileError::EFileError;
    EInOutError(const std::string& message, int errorCode) : EFileError(message), FErrorCode(errorCode) {}

    // The system's errno behind the failure, 0 when there is none.
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode = 0;
};

} // namespace wh
