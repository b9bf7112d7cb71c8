#include "framework/Exceptions.h"

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

const char* Exception::what() const noexcept { return utf8_.constData(); }

EInOutError::EInOutError(int errorCode) : Exception(MessageForCode(errorCode)), errorCode_(errorCode) {}

QString EInOutError::MessageForCode(int errorCode) {
    switch (errorCode) {
    case 2:
        return QStringLiteral("File not found");
    case 3:
        return QStringLiteral("Invalid filename");
    case 4:
        return QStringLiteral("Too many open files");
    case 5:
        return QStringLiteral("File access denied");
    case 100:
        return QStringLiteral("Read beyond end of file");
    case 101:
        return QStringLiteral("Disk full");
    case 106:
        return QStringLiteral("Invalid numeric input");
    default:
        return QStringLiteral("I/O error %1").arg(errorCode);
    }
}

EAbort::EAbort() : Exception(QString()) {}
