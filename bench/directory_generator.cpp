#include "directory_generator.h"

#include "serial_date.h"

#include <random>
#include <string>
#include <vector>

namespace {

// Windows-1252 bytes: \xE9 e acute, \xF6 o umlaut, \xF8 o slash, \xFC u umlaut, \xE7 c cedilla.
const std::vector<std::string> syllables = {
    "an",  "ber", "cor", "dal", "en",    "fen",     "gar",   "hol",   "is",      "jan", "kel",
    "lin", "mar", "nor", "ost", "pel",   "quin",    "ros",   "sal",   "tor",     "ul",  "ven",
    "wil", "xa",  "yor", "zel", "m\xFC", "str\xF6", "b\xF8", "r\xE9", "\xE7\x61"};
const std::vector<std::string> first_names = {
    "Anna",    "Bj\xF8rn", "Carmen",   "Dmitri", "Elif", "Fran\xE7ois", "Grete", "Hiroshi",
    "Ines",    "Jo\xE3o",  "Katja",    "Lars",   "Mei",  "Nuno",        "Olga",  "Pieter",
    "Ren\xE9", "Sanna",    "Tom\xE1s", "Ulla",   "Vera", "Wen",         "Yusuf", "Zofia"};
const std::vector<std::string> cities = {
    "Graz",      "Leoben", "Freiberg",   "Troms\xF8", "Lule\xE5",     "Z\xFCrich",
    "Krak\xF3w", "Huelva", "Ouro Preto", "Sudbury",   "Antofagasta",  "Kalgoorlie",
    "Kitwe",     "Wuhan",  "Tsukuba",    "Kiruna",    "Reykjav\xEDk", "Cluj-Napoca"};
const std::vector<std::string> countries = {
    "Austria", "Germany", "Norway",    "Sweden", "Switzerland", "Poland", "Spain",   "Brazil",
    "Canada",  "Chile",   "Australia", "Zambia", "China",       "Japan",  "Iceland", "Romania"};
const std::vector<std::string> topics = {
    "Ore microscopy",           "Sulphide textures", "PGE mineralogy",
    "Gold deportment",          "Fluid inclusions",  "Process mineralogy, flotation",
    "Skarn deposits",           "Tin and tungsten",  "Chromitite petrology",
    "Trace elements in pyrite", "Geometallurgy",     "Supergene enrichment"};
const std::vector<std::string> instruments = {"QEMSCAN",
                                              "MLA",
                                              "LA-ICP-MS, quadrupole",
                                              "Fluid inclusion stage",
                                              "Hyperspectral core scanner",
                                              "Micro-XRF mapping",
                                              "Stable isotope lab",
                                              "Automated point counter",
                                              "EBSD detector"};
const std::vector<std::string> positions = {"Professor of Mineralogy",
                                            "Senior Research Scientist",
                                            "Consulting mineralogist",
                                            "Curator of the ore collection",
                                            "PhD student",
                                            "Head of the process mineralogy group"};

class Writer {
  public:
    explicit Writer(unsigned seed) : random_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    const std::string& any(const std::vector<std::string>& list) {
        return list[pick(int(list.size()))];
    }

    std::string word(int min_syllables, int max_syllables) {
        std::string w;
        const int n = min_syllables + pick(max_syllables - min_syllables + 1);
        for (int i = 0; i < n; ++i) w += any(syllables);
        if (w[0] >= 'a' && w[0] <= 'z') w[0] = char(w[0] - 'a' + 'A');
        return w;
    }

    std::string digits(int n) {
        std::string d;
        for (int i = 0; i < n; ++i) d += char('0' + pick(10));
        return d;
    }

    std::string sentence(int words) {
        std::string s = word(1, 3);
        for (int i = 1; i < words; ++i) s += (pick(6) == 0 ? ", " : " ") + word(1, 3);
        return s + ".";
    }

  private:
    std::mt19937 random_;
};

} // namespace

EntryTable generate_directory(int count, unsigned seed) {
    Writer w(seed);
    EntryTable t = empty_directory(std::int16_t(count));
    t.TableModified = 1;

    const SerialDate first_day = serial_from_civil({1998, 1, 1});
    for (int e = 1; e <= count; ++e) {
        t.ChangeDate[e] = w.pick(8) == 0 ? 0 : first_day + w.pick(9000);
        t.Salutation[e] = std::int16_t(w.pick(4) - 1);
        for (auto& flag : t.TitleFlags[e]) flag = std::int16_t(w.pick(3) == 0);
        for (auto& flag : t.OrganizationFlags[e]) flag = std::int16_t(w.pick(4) == 0);
        for (int k = 0; k < 28; ++k) t.EquipmentFlags[e][k] = std::int16_t(w.pick(3) == 0);
        t.EquipmentFlags[e][30] = std::int16_t(w.pick(3));

        RowTexts s;
        const std::string surname = w.word(2, 4);
        const std::string first = w.any(first_names);
        s[0] = w.pick(2) ? "Dipl.-Ing." : "MSc";
        s[1] = surname;
        s[2] = first;
        s[3] = "Department of " + w.word(2, 3) + "\r\n" + w.word(2, 3) + "strasse " +
               std::to_string(1 + w.pick(120)) + (w.pick(3) == 0 ? ", Room " + w.digits(3) : "");
        s[4] = w.any(cities);
        s[5] = w.digits(4 + w.pick(2));
        s[6] = w.any(countries);
        s[7] = "+" + w.digits(2) + " " + w.digits(3) + " " + w.digits(6);
        s[8] = "+" + w.digits(2) + " " + w.digits(3) + " " + w.digits(6);
        s[9] = "person" + std::to_string(e) + "@institute" + std::to_string(w.pick(900)) +
               ".example.org";
        s[10] = w.any(positions);
        for (int i = 11; i <= 16; ++i) s[i] = w.any(topics);
        for (int i = 17; i <= 19; ++i) s[i] = w.any(instruments);
        s[20] = w.sentence(4 + w.pick(12)) + "\r\n" + w.sentence(3 + w.pick(8));
        s[21] = w.pick(2) ? "Consultancy" : "Research institute";
        t.set_texts(e, s);
    }
    return t;
}
