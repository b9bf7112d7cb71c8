#include "framework/TStringTable.h"

#include <QHash>

QString TStringTable::LoadStr(int id) {
    static const QHash<int, QString> table = {
        {SMsgDlgWarning, QStringLiteral("Warning")},
        {SMsgDlgError, QStringLiteral("Error")},
        {SMsgDlgInformation, QStringLiteral("Information")},
        {SMsgDlgConfirm, QStringLiteral("Confirm")},
        {SMsgDlgYes, QStringLiteral("&Yes")},
        {SMsgDlgNo, QStringLiteral("&No")},
        {SMsgDlgOK, QStringLiteral("OK")},
        {SMsgDlgCancel, QStringLiteral("Cancel")},
        {SMsgDlgHelp, QStringLiteral("&Help")},
        {SMsgDlgAbort, QStringLiteral("&Abort")},
        {SMsgDlgRetry, QStringLiteral("&Retry")},
        {SMsgDlgIgnore, QStringLiteral("&Ignore")},
        {SMsgDlgAll, QStringLiteral("&All")},
        {SMsgDlgNoToAll, QStringLiteral("N&o to All")},
        {SMsgDlgYesToAll, QStringLiteral("Yes to &All")},
        {SJPEGError, QStringLiteral("JPEG error #%d")},
    };
    return table.value(id);
}
