#pragma once
// The program's string table: the English captions and button texts of the standard dialogs
// and the runtime's messages, looked up by number as the old resource string table was.

#include <QString>

enum TStringId : int {
    SMsgDlgYesToAll = 65361,
    SMsgDlgNoToAll = 65360,
    SMsgDlgWarning = 65379,
    SMsgDlgError = 65380,
    SMsgDlgInformation = 65381,
    SMsgDlgConfirm = 65382,
    SMsgDlgYes = 65383,
    SMsgDlgNo = 65384,
    SMsgDlgOK = 65385,
    SMsgDlgCancel = 65386,
    SMsgDlgHelp = 65387,
    SMsgDlgAbort = 65388,
    SMsgDlgRetry = 65389,
    SMsgDlgIgnore = 65390,
    SMsgDlgAll = 65391,
    SJPEGError = 65331,
};

class TStringTable {
public:
    // The string with that number; empty when the table has none.
    static QString LoadStr(int id);
};

inline QString LoadStr(int id) {
    return TStringTable::LoadStr(id);
}
