#ifndef RECORDS_SAFETEXT_H
#define RECORDS_SAFETEXT_H

#include <QString>

// Names and codes as they may leave the program: in a file name, or in a
// text a reader parses line by line or as XML. The stored names stay as
// they are (their checksum covers them); only what is written is changed.
class SafeText
{
public:
    // Longest file name, in bytes of UTF-8, that the file systems in use
    // take (ext4; FAT and NTFS count 255 UTF-16 units, never fewer).
    static const int MAX_FILE_NAME_BYTES = 255;

    // The file name `name` + `tail` (the tail being ours: "_7.pdf",
    // "_BaoCaoTongHop.xlsx", ".xml"). The characters no file system here can
    // hold in a name, or that would lead into another folder ("/", "\",
    // <>:"|?* and control characters), become "_". A name too long is cut
    // on a character boundary (a letter keeps its marks) and followed by
    // "_" and `code`, so two long names sharing their start still give two
    // files; the tail is always kept whole.
    static QString fileName(const QString &name, const QString &code, const QString &tail);

    // The text with every character U+0000 to U+001F (a tab and a line
    // break included) shown as a space: one line, and a valid XML text.
    static QString withoutControls(const QString &text);
    // Whether the text holds any character U+0000 to U+001F.
    static bool hasControls(const QString &text);

private:
    static QString cleaned(const QString &name);
    // The longest start of `text` ending on a character boundary whose UTF-8
    // takes at most `bytes` bytes.
    static QString cut(const QString &text, int bytes);
};

#endif // RECORDS_SAFETEXT_H
