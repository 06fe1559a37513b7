// What a widget file on disk was when the document last read or wrote it: its size, its
// modification time and a hash of its bytes, so a save can tell that another program changed it.
#pragma once

#include <QByteArray>
#include <QString>

class CDiskStamp {
public:
    // The file as it is now; unknown when there is none.
    static CDiskStamp Of(const QString& path);

    bool IsKnown() const { return m_known; }
    // True when the file now holds other bytes than it did. A file that is gone is not changed
    // (saving puts it back), nor one only touched: with another time, the same bytes.
    bool ChangedOnDisk(const QString& path) const;

    // One line of text and back, to keep a stamp with a recovery copy.
    QString ToText() const;
    static CDiskStamp FromText(const QString& text);

private:
    bool m_known = false;
    qint64 m_size = 0;
    qint64 m_modifiedNs = 0;
    QByteArray m_hash;
};
