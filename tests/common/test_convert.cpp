#include "ConvertError.h"
#include "Cp1252.h"
#include "ProgramState.h"
#include "modConvert.h"

#include <QList>
#include <gtest/gtest.h>

namespace
{

QByteArray hex(const char* digits)
{
    return QByteArray::fromHex(digits);
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

QByteArray everyByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    return all;
}

} // namespace

TEST(Convert, BigEndianBytesWithSignOnlyAtFourBytes)
{
    InitConvert();
    EXPECT_EQ(BytesToNum({}), 0);
    EXPECT_EQ(BytesToNum(hex("ffff")), 65535);
    EXPECT_EQ(BytesToNum(hex("010203")), 0x010203);
    EXPECT_EQ(BytesToNum(hex("fffffffe")), -2);
    EXPECT_EQ(BytesToNum(hex("80000000")), std::numeric_limits<qint32>::min());
    EXPECT_EQ(failureOf([] { BytesToNum(QByteArray(5, '\0')); }), ConvertError::Kind::Overflow);
    EXPECT_EQ(LongToBytes(65535), hex("0000ffff"));
    for (qint32 v : {0, 256, -1, 0x7FFFFFFF})
        EXPECT_EQ(BytesToNum(LongToBytes(v)), v) << v;
    EXPECT_TRUE(NullBytes(0).isEmpty());
    EXPECT_TRUE(NullBytes(-4).isEmpty());
    EXPECT_EQ(DigitsOnly("-1a2"), "-12"); // a leading minus is kept
    EXPECT_EQ(DigitsOnly("-"), "-");
    EXPECT_EQ(DigitsOnly(QString::fromUtf8("٣7")), "7"); // only the ASCII digits count
}

TEST(Convert, HexAndBinaryText)
{
    InitConvert();
    EXPECT_EQ(BytesToHex(hex("4142")), "4142");
    EXPECT_EQ(HexToBytes("A"), hex("0a"));
    EXPECT_EQ(HexToBytes("fF0"), hex("ff00"));
    EXPECT_TRUE(HexToBytes("").isEmpty());
    EXPECT_EQ(HexToBytes(BytesToHex(everyByte())), everyByte());
    EXPECT_EQ(failureOf([] { HexToBytes("4G"); }), ConvertError::Kind::TypeMismatch);
    EXPECT_EQ(DecToHex(-1), "FFFFFFFF");
    EXPECT_EQ(SwapHexBytes("12345678"), "78563412");
    EXPECT_EQ(SwapHexBytes("12345"), "53412");
    // Four digits read as signed unless unsigned; five digits: no 16-bit reading.
    EXPECT_EQ(HexToDec("FFFF", false), "-1");
    EXPECT_EQ(HexToDec("FFFF", true), "65535");
    EXPECT_EQ(HexToDec("0FFFF", false), "65535");
    EXPECT_EQ(HexToDec("80000000", true), "-2147483648");
    EXPECT_EQ(HexToDec("000000001", true), "1");
    EXPECT_EQ(failureOf([] { HexToDec("100000000", true); }), ConvertError::Kind::Overflow);
    EXPECT_EQ(failureOf([] { HexToDec("-1", true); }), ConvertError::Kind::TypeMismatch);
    EXPECT_EQ(failureOf([] { HexToDec("", true); }), ConvertError::Kind::TypeMismatch);
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

TEST(Convert, BusyCursorNestsAndSurvivesAnUnmatchedEnd)
{
    static QList<bool> calls;
    ProgramState.BusyCount = 0;
    SetBusyCursorHook([](bool busy) { calls.append(busy); });
    BeginBusy();
    BeginBusy();
    EndBusy(); // the inner end leaves the hourglass
    EndBusy();
    EndBusy(); // unmatched: the count goes below 0, the cursor is unchanged
    EXPECT_EQ(ProgramState.BusyCount, -1);
    BeginBusy();
    EndBusy(); // was 0, not 1: the hourglass stays
    EXPECT_EQ(calls, QList<bool>({true, false, true}));
    SetBusyCursorHook(nullptr);
    ProgramState.BusyCount = 0;
}

TEST(Cp1252, EveryByteSurvivesARoundTripAndOtherCharactersAreRefused)
{
    const QString text = DecodeCp1252(everyByte());
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0x81], QChar(0x81)); // undefined bytes stand for themselves
    EXPECT_EQ(EncodeCp1252(text), everyByte());
    // 0x80 and 0x9F as code points: their bytes stand for other characters.
    for (char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u65E5'})
        EXPECT_FALSE(EncodeCp1252(QString(QChar(c))).has_value()) << int(c);
    EXPECT_EQ(EncodeCp1252(QString()), QByteArray());
}
