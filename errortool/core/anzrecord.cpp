#include "anzrecord.h"

#include "anztexts.h"

#include <cstdio>

namespace anz {

using fw::RegRoot;
using fw::RegType;

const RecordValue kRecordValues[16] = {
    {"MODL", RegType::Sz, "モジュール名\t= ", Shown::Text, true},
    {"LINE", RegType::Dword, "行番号\t\t= ", Shown::Decimal, true},
    {"CODE", RegType::Dword, "エラーコード\t= ", Shown::Message, true},
    {"FUNC", RegType::Dword, "内部関数名\t= ", Shown::Routine, true},
    {"INFO", RegType::Dword, "補足情報値\t= ", Shown::Decimal, true},
    {"TIME", RegType::Sz, "時刻\t\t= ", Shown::Text, true},
    {"APIERR", RegType::Dword, "APIエラー\t= ", Shown::Decimal, false},
    {"EXPI", RegType::Sz, "付加情報\t= ", Shown::Text, false},
    {"MODE", RegType::Sz, "実行形式\t= ", Shown::Text, true},
    {"RTL", RegType::Sz, "バージョン\t= ", Shown::Text, true},
    {"XMODL", RegType::Sz, "最後に実行したモジュール\t= ", Shown::Text, false},
    {"XLINE", RegType::Dword, "最後に実行した行\t\t= ", Shown::Decimal, false},
    {"XMODE", RegType::Sz, "実行形式\t\t\t= ", Shown::Text, false},
    {"XRTL", RegType::Sz, "バージョン\t\t\t= ", Shown::Text, false},
    {"XADDR", RegType::Dword, "例外発生アドレス\t\t= ", Shown::Hex, false},
    {"XCODE", RegType::Dword, "例外コード\t\t\t= ", Shown::Hex, false},
};

std::string FormatValueLine(const RecordValue& v, std::optional<std::string> text,
                            std::optional<uint32_t> number, MessageSource& messages) {
    std::string line = v.label;
    char buf[32];
    switch (v.shown) {
    case Shown::Text:
        if (text)
            line += *text;
        break;
    case Shown::Decimal:
        if (number) {
            std::snprintf(buf, sizeof buf, "%d", static_cast<int32_t>(*number));
            line += buf;
        }
        break;
    case Shown::Message:
        if (number) {
            std::snprintf(buf, sizeof buf, "(%d)", static_cast<int32_t>(*number));
            line += buf;
            line += messages.Message(*number).value_or(text::kNoMessage);
        }
        break;
    case Shown::Routine:
        if (number) {
            std::snprintf(buf, sizeof buf, "(%x)", *number);
            line += buf;
            const char* name = FindRoutineName(*number);
            line += name ? name : text::kUnknownRoutine;
        }
        break;
    case Shown::Hex:
        if (number) {
            std::snprintf(buf, sizeof buf, "%x", *number);
            line += buf;
        }
        break;
    }
    return line;
}

std::optional<std::string> BuildReport(fw::RegStore& reg, MessageSource& messages) {
    if (!reg.KeyExists(RegRoot::CurrentUser, kRecordKey))
        return std::nullopt;
    std::string report = text::kErrorHeading;
    report += "\r\n";
    int index = 0;
    for (const RecordValue& v : kRecordValues) {
        if (index == kErrorBlockSize) {
            report += "\r\n";
            report += text::kExceptionHeading;
            report += "\r\n";
        }
        std::optional<std::string> s;
        std::optional<uint32_t> n;
        if (v.type == RegType::Sz)
            s = reg.ReadString(RegRoot::CurrentUser, kRecordKey, v.name, kTextBytes);
        else
            n = reg.ReadDword(RegRoot::CurrentUser, kRecordKey, v.name);
        report += FormatValueLine(v, s, n, messages);
        report += "\r\n";
        ++index;
    }
    return report;
}

bool RecordComplete(fw::RegStore& reg) {
    if (!reg.KeyExists(RegRoot::CurrentUser, kRecordKey))
        return false;
    for (const RecordValue& v : kRecordValues) {
        if (!v.needed)
            continue;
        bool readable = v.type == RegType::Sz
                            ? reg.ReadString(RegRoot::CurrentUser, kRecordKey, v.name, kTestTextBytes)
                                  .has_value()
                            : reg.ReadDword(RegRoot::CurrentUser, kRecordKey, v.name).has_value();
        if (!readable)
            return false;
    }
    return true;
}

bool ClearRecord(fw::RegStore& reg) {
    if (!reg.KeyExists(RegRoot::CurrentUser, kRecordKey))
        return false;
    bool ok = true;
    for (const RecordValue& v : kRecordValues) {
        if (v.type == RegType::Sz)
            ok = reg.WriteString(RegRoot::CurrentUser, kRecordKey, v.name, "") && ok;
        else
            ok = reg.WriteDword(RegRoot::CurrentUser, kRecordKey, v.name, 0) && ok;
    }
    return ok;
}

}  // namespace anz
