#pragma once
// The runtime's exception family. Every failure the program reports travels as one of these;
// the application object shows the message of any that leaves an event handler (EAbort silently).

#include <QString>

#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const { return message_; }
    const char* what() const noexcept override;

private:
    QString message_;
    QByteArray utf8_;
};

// An operating-system failure of a file or directory operation, with its Win32 error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const { return errorCode_; }
    // "File not found", "Invalid filename", ... or "I/O error %d" for the given code.
    static QString MessageForCode(int errorCode);

private:
    int errorCode_;
};

#define ZVONKAR_EXCEPTION(Name, Base)                                                              \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    };

ZVONKAR_EXCEPTION(EConvertError, Exception)
ZVONKAR_EXCEPTION(EStreamError, Exception)
ZVONKAR_EXCEPTION(EFOpenError, EStreamError)
ZVONKAR_EXCEPTION(EFCreateError, EStreamError)
ZVONKAR_EXCEPTION(EReadError, EStreamError)
ZVONKAR_EXCEPTION(EWriteError, EStreamError)
ZVONKAR_EXCEPTION(ERegistryException, Exception)
ZVONKAR_EXCEPTION(EInvalidOperation, Exception)
ZVONKAR_EXCEPTION(EListError, Exception)
ZVONKAR_EXCEPTION(EJPEG, Exception)

#undef ZVONKAR_EXCEPTION

// The silent exception: it abandons a handler without any message.
class EAbort : public Exception {
public:
    EAbort();
};
