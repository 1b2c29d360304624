#include "ConvertError.h"
#include "ProgramState.h"
#include "modConvert.h"

#include <QList>
#include <gtest/gtest.h>

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

ConvertError::Kind failureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ConvertError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no ConvertError thrown";
    return ConvertError::Kind::Overflow;
}

} // namespace

TEST(Convert, BigEndianBytesWithSignOnlyAtFourBytes)
{
    InitConvert();
    EXPECT_EQ(BytesToNum({}), 0);
    EXPECT_EQ(BytesToNum(bytes({0xFF, 0xFF})), 65535);
    EXPECT_EQ(BytesToNum(bytes({0x01, 0x02, 0x03})), 0x010203);
    EXPECT_EQ(BytesToNum(bytes({0xFF, 0xFF, 0xFF, 0xFE})), -2);
    EXPECT_EQ(BytesToNum(bytes({0x80, 0, 0, 0})), std::numeric_limits<qint32>::min());
    EXPECT_EQ(failureOf([] { BytesToNum(QByteArray(5, '\0')); }), ConvertError::Kind::Overflow);
    EXPECT_EQ(LongToBytes(65535), bytes({0, 0, 0xFF, 0xFF}));
    for (qint32 v : {0, 256, -1, 0x7FFFFFFF})
        EXPECT_EQ(BytesToNum(LongToBytes(v)), v) << v;
    EXPECT_TRUE(NullBytes(0).isEmpty());
    EXPECT_TRUE(NullBytes(-4).isEmpty());
}

TEST(Convert, HexText)
{
    EXPECT_EQ(BytesToHex(bytes({0x41, 0x42})), "4142");
    EXPECT_EQ(HexToBytes("A"), bytes({0x0A}));
    EXPECT_EQ(HexToBytes("fF0"), bytes({0xFF, 0x00}));
    EXPECT_TRUE(HexToBytes("").isEmpty());
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(HexToBytes(BytesToHex(all)), all);
    EXPECT_EQ(failureOf([] { HexToBytes("4G"); }), ConvertError::Kind::TypeMismatch);

    EXPECT_EQ(DecToHex(-1), "FFFFFFFF");
    EXPECT_EQ(SwapHexBytes("12345678"), "78563412");
    EXPECT_EQ(SwapHexBytes("12345"), "53412");
}

TEST(Convert, HexToDecReadsFourDigitsAsSignedUnlessUnsigned)
{
    EXPECT_EQ(HexToDec("FFFF", false), "-1");
    EXPECT_EQ(HexToDec("FFFF", true), "65535");
    EXPECT_EQ(HexToDec("0FFFF", false), "65535"); // five digits: no 16-bit reading
    EXPECT_EQ(HexToDec("80000000", true), "-2147483648");
    EXPECT_EQ(HexToDec("000000001", true), "1");
    EXPECT_EQ(failureOf([] { HexToDec("100000000", true); }), ConvertError::Kind::Overflow);
    EXPECT_EQ(failureOf([] { HexToDec("-1", true); }), ConvertError::Kind::TypeMismatch);
    EXPECT_EQ(failureOf([] { HexToDec("", true); }), ConvertError::Kind::TypeMismatch);
}

TEST(Convert, BinaryText)
{
    InitConvert();
    EXPECT_EQ(DecToBin(5, 0), "101");
    EXPECT_EQ(DecToBin(256, 8), "00000000");
    EXPECT_EQ(DecToBin(65536, 0), "0");
    EXPECT_EQ(DecToBin(0xFFFF, 20), QString(16, '1'));
    EXPECT_EQ(BinToHex("100000000"), "100");
    EXPECT_EQ(BinToHex("120001"), "1"); // a group that is not binary contributes nothing
    EXPECT_EQ(BinToDec("1" + QString(31, '0')), std::numeric_limits<qint32>::min());
    EXPECT_EQ(BinToDec("0000" + QString(32, '1')), -1);
    EXPECT_EQ(failureOf([] { BinToDec("1" + QString(32, '0')); }), ConvertError::Kind::Overflow);
}

TEST(Convert, DigitsOnlyKeepsALeadingMinus)
{
    EXPECT_EQ(DigitsOnly("-1a2"), "-12");
    EXPECT_EQ(DigitsOnly("-"), "-");
    EXPECT_EQ(DigitsOnly(QString::fromUtf8("٣7")), "7"); // only the ASCII digits count
}

namespace
{
QList<bool> g_cursorCalls;
} // namespace

TEST(Convert, BusyCursorNestsAndSurvivesAnUnmatchedEnd)
{
    ProgramState.BusyCount = 0;
    g_cursorCalls.clear();
    SetBusyCursorHook([](bool busy) { g_cursorCalls.append(busy); });
    BeginBusy();
    BeginBusy();
    EndBusy();
    EXPECT_EQ(g_cursorCalls, QList<bool>({true})); // the inner end leaves the hourglass
    EndBusy();
    EXPECT_EQ(g_cursorCalls, QList<bool>({true, false}));
    EndBusy(); // unmatched: the count goes below 0, the cursor is unchanged
    EXPECT_EQ(ProgramState.BusyCount, -1);
    BeginBusy();
    EndBusy(); // was 0, not 1: the hourglass stays
    EXPECT_EQ(g_cursorCalls, QList<bool>({true, false, true}));
    SetBusyCursorHook(nullptr);
    ProgramState.BusyCount = 0;
}
