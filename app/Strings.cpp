#include "app/Strings.h"

#include <cstring>
#include <map>

#include "app/TextTable.h"
#include "resources/Resources.h"

namespace quillon {
namespace {

Language g_language = Language::English;

struct StringTable {
    std::map<int, QString> english;
    std::map<int, QString> french;
};

StringTable BuildTable()
{
    EnsureResources();
    StringTable table;
    for (const TextRow& row : ParseTextTable(ReadResource(QStringLiteral(":/quillon/strings.tsv")))) {
        bool ok = false;
        const int id = row.key.toInt(&ok);
        if (!ok)
            continue;
        table.english[id] = row.english;
        table.french[id] = row.french;
    }
    return table;
}

const StringTable& Table()
{
    static const StringTable table = BuildTable();
    return table;
}

// Length of the longest prefix of text that fits in limit bytes without cutting a UTF-8
// sequence in half.
std::size_t Utf8PrefixLength(const QByteArray& text, std::size_t limit)
{
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), limit);
    if (length == static_cast<std::size_t>(text.size()))
        return length;
    // Step back over continuation bytes to the start of the cut sequence, dropping it.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace

void SetCurrentLanguage(Language language)
{
    g_language = language == Language::English ? Language::English : Language::French;
}

Language CurrentLanguage()
{
    return g_language;
}

QString LoadText(int id)
{
    const StringTable& table = Table();
    const auto& texts = g_language == Language::English ? table.english : table.french;
    const auto it = texts.find(id);
    return it == texts.end() ? QString() : it->second;
}

void LoadTextInto(char* buffer, std::size_t size, int id)
{
    if (buffer == nullptr || size == 0)
        return;
    const QByteArray utf8 = LoadText(id).toUtf8();
    const std::size_t length = Utf8PrefixLength(utf8, size - 1);
    std::memcpy(buffer, utf8.constData(), length);
    buffer[length] = '\0';
}

} // namespace quillon
