#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

TEST(StrToInt, ParsesSigned32BitDecimal) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("1024"), 1024);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$FF"), 255);
}

TEST(StrToInt, RefusesWhatIsNotAnInteger) {
    for (const char* text : {"", "2147483648", "12 ", " 12", "1.5", "abc", "-", "--1"}) {
        try {
            StrToInt(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(text)));
        }
    }
}

TEST(EInOutError, MessagesFollowTheErrorCode) {
    EXPECT_EQ(EInOutError(2).Message(), "File not found");
    EXPECT_EQ(EInOutError(3).Message(), "Invalid filename");
    EXPECT_EQ(EInOutError(4).Message(), "Too many open files");
    EXPECT_EQ(EInOutError(5).Message(), "File access denied");
    EXPECT_EQ(EInOutError(21).Message(), "I/O error 21");
    EXPECT_EQ(EInOutError(32).ErrorCode(), 32);
}
