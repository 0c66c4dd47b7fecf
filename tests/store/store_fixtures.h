#pragma once

#include "data_file.h"
#include "entry_fields.h"
#include "file_bytes.h"
#include "serial_date.h"
#include "table_builder.h"

#include <QFile>
#include <QMetaType>
#include <QString>

#include <filesystem>
#include <string>

Q_DECLARE_METATYPE(std::string)


// A directory of one entry saved on 2003-05-14, and below the file it makes, byte for byte.
inline EntryTable example_table() {
    EntryTable t = changed_table(1);
    t.ChangeDate[1] = serial_from_civil({2003, 5, 12});
    t.Salutation[1] = 1;
    t.TitleFlags[1] = {0, 1};
    t.OrganizationFlags[1][0] = 1;
    t.EquipmentFlags[1][9] = 1;
    t.EquipmentFlags[1][10] = 1;
    t.EquipmentFlags[1][30] = 1;
    t.set_text(1, SurnameSlot, "Sample");
    t.set_text(1, FirstNamesSlot, "Anna");
    t.set_text(1, CitySlot, "Graz");
    return t;
}

inline std::string example_bytes() {
    std::string s = "1\r\n#2003-05-14#\r\n#2003-05-12#,1,0,1,1,0,0,0,0,0,";
    for (int i = 0; i < 9; ++i) s += "0,";
    s += "1,1,";
    for (int i = 0; i < 19; ++i) s += "0,";
    s += "1,\"\",\"Sample\",\"Anna\",\"\",\"Graz\",";
    for (int i = 0; i < 17; ++i) s += "\"\",";
    return s;
}

// Entries 1 to EntryCount and every row's size; header date and the other scalars aside.
inline bool same_entries(const EntryTable& a, const EntryTable& b) {
    if (a.EntryCount != b.EntryCount) return false;
    for (int e = 1; e <= a.EntryCount; ++e)
        if (a.ChangeDate[e] != b.ChangeDate[e] || a.Salutation[e] != b.Salutation[e] ||
            a.TitleFlags[e] != b.TitleFlags[e] || a.texts(e) != b.texts(e) ||
            a.OrganizationFlags[e] != b.OrganizationFlags[e] ||
            a.EquipmentFlags[e] != b.EquipmentFlags[e])
            return false;
    return true;
}

inline bool same_table(const EntryTable& a, const EntryTable& b) {
    return a.TableModified == b.TableModified && a.EntryCount == b.EntryCount &&
           a.TableCapacity == b.TableCapacity && a.CurrentEntry == b.CurrentEntry &&
           a.LastUpdate == b.LastUpdate && a.ChangeDate == b.ChangeDate &&
           a.Salutation == b.Salutation && a.TitleFlags == b.TitleFlags &&
           a.same_texts(b) && a.OrganizationFlags == b.OrganizationFlags &&
           a.EquipmentFlags == b.EquipmentFlags;
}

inline std::filesystem::path data_path(const QString& folder) {
    return std::filesystem::path(folder.toStdString()) / DataFileName;
}

inline bool put_file(const std::filesystem::path& file, const std::string& bytes) {
    QFile f(QString::fromStdString(file.string()));
    return f.open(QIODevice::WriteOnly) &&
           f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}
