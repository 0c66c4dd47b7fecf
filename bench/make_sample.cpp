// Writes the sample directory for `make run`: make_sample <folder>
// Every person in it is made up; e-mail domains end in .example and telephone numbers use 555.
#include "cp1252.h"
#include "data_file.h"
#include "serial_date.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Person {
    const char* stored; // day of the last Store, yyyy-mm-dd; "" if never stored
    int salutation;     // -1 none, 0 Mr, 1 Mrs, 2 Ms
    const char* titles; // P for Prof., D for Dr.
    const char* title;
    const char* surname;
    const char* first;
    const char* address; // \n breaks a line
    const char* city;
    const char* zip;
    const char* country;
    const char* phone;
    const char* fax;
    const char* email;
    const char* position;
    const char* kinds; // organisation kinds ticked, digits 0 to 5
    const char* other_kind;
    const char* interests;       // up to six, separated by |
    const char* equipment;       // ticked indexes; a trailing ? leaves the box greyed
    const char* other_equipment; // up to three, separated by |
    int collaboration;           // 0 none, 1 all, 2 some
    const char* remarks;
};

// clang-format off
const std::vector<Person> people = {
{"2003-05-12", 1, "D", "", "Varnholt", "Annelie", "Institut für Mineralogie\nHeinrichstraße 61", "Graz", "8010", "Austria", "+43 316 555 0142", "+43 316 555 0199", "a.varnholt@mineralogie-graz.example", "Associate Professor", "0", "", "Ore microscopy|Sulphide textures|Gold deportment", "0 1 2 3 9 10", "", 1, ""},
{"2003-04-30", 0, "PD", "", "Quessada", "Hernán", "Departamento de Geología\nCampus Norte, Edificio 4", "Huelva", "21071", "Spain", "+34 959 555 210", "+34 959 555 211", "hquessada@geo-huelva.example", "Professor of Ore Deposits", "0", "", "Massive sulphides|Gold deportment|Geometallurgy|Trace elements in pyrite", "0 1 2 8 9 10 14 15 27", "Automated mineralogy, QEMSCAN", 2, "Leads the Iberian Pyrite Belt working group."},
{"2002-11-18", 1, "PD", "", "Østergaard", "Lene", "Geologisk Institut\nStenhuggervej 9", "København", "2100", "Denmark", "+45 35 55 51 20", "", "lene.ostergaard@geo-kbh.example", "Professor", "0", "", "Chromitite petrology|PGE mineralogy", "1 2 3 4 8 27", "", 1, ""},
{"2003-01-09", 0, "D", "Dipl.-Min.", "Brückner", "Matthias", "Institut für Mineralogie\nBrennhausgasse 14", "Freiberg", "09599", "Germany", "+49 3731 555 2630", "+49 3731 555 2631", "m.brueckner@geo-freiberg.example", "Curator of the ore collection", "01", "", "Ore microscopy|Tin and tungsten|Skarn deposits|History of mining", "0 1 2 3 4 5 9 18 20 27", "", 2, "Curator of the historic ore collection,\nvisitors welcome by appointment."},
{"2002-06-25", 2, "", "MSc", "Lindqvist", "Sara", "Division of Geosciences\nUniversitetsvägen 12", "Luleå", "971 87", "Sweden", "+46 920 555 310", "", "sara.lindqvist@geo-lulea.example", "PhD student", "0", "", "Process mineralogy|Geometallurgy|Iron oxide ores", "0 9 10 23", "MLA", 0, ""},
{"2003-02-14", 0, "PD", "", "Lindqvist", "Per", "Department of Earth Sciences\nMalmgatan 16", "Uppsala", "752 36", "Sweden", "+46 18 555 2540", "+46 18 555 2541", "per.lindqvist@geo-uppsala.example", "Professor of Mineralogy", "0", "", "Ore microscopy|Skarn deposits|Fluid inclusions", "1 2 6 7 8 12", "", 1, ""},
{"", -1, "", "", "Marchetti", "Giulia", "", "Torino", "10125", "Italy", "", "", "", "", "", "", "", "", "", 0, ""},
{"2001-09-03", 0, "D", "", "Okafor", "Chinedu", "Department of Geology\nP.O. Box LG 58, Legon", "Accra", "", "Ghana", "+233 30 555 0871", "", "c.okafor@geo-legon.example", "Senior Lecturer", "0", "", "Gold deportment|Supergene enrichment|Ore microscopy", "0 1 2 10 24", "", 2, ""},
{"2002-12-02", 0, "", "B.Sc.", "Nakashima", "Kenji", "Mineral Resources Research Group\n3-2-7 Kozan", "Tsukuba", "305-8567", "Japan", "+81 29 555 3360", "+81 29 555 3361", "k.nakashima@resources-tsukuba.example", "Research Scientist", "3", "", "Epithermal gold|Fluid inclusions|Indium in sphalerite", "2 6 7 8 11 15 16", "", 1, ""},
{"2003-03-21", 1, "D", "", "Ferreira da Costa", "Luísa", "Escola de Minas\nRua do Ouro, 20", "Ouro Preto", "35400-000", "Brazil", "+55 31 555 91220", "", "luisa.costa@em-ouropreto.example", "Associate Professor", "0", "", "Gold deportment|Iron oxide ores|Ore microscopy|History of mining", "0 1 2 3 4 9 10 27", "", 1, "Teaches the field course in the Quadrilátero Ferrífero."},
{"2002-08-12", 0, "", "P.Eng.", "MacAllister", "Duncan", "Mine Site Office\n2 Smelter Road, Unit 5", "Sudbury", "P3E 2C6", "Canada", "+1 705 555 0188", "+1 705 555 0189", "dmacallister@nickel-works.example", "Chief Mineralogist", "4", "", "Magmatic sulphides|PGE mineralogy|Process mineralogy", "0 1 2 8 9 10 18 20 23", "Automated mineralogy, MLA|Dense media separation", 2, "Samples by courier only."},
{"2003-05-02", 2, "D", "", "Rakotondrabe", "Hanta", "Département des Sciences de la Terre\n1065 rue de la Mine", "Québec", "G1V 0A6", "Canada", "+1 418 555 0133", "", "hanta.rakotondrabe@geol-laval.example", "Assistant Professor", "0", "", "Chromitite petrology|Critical metals|Graphite", "1 2 5 7 9 10 21", "", 1, ""},
{"2000-02-29", 0, "P", "", "Ivanov-Sedykh", "Arkadi", "Institute of Mineralogy\nUlitsa Gornaya 4", "Miass", "456317", "Russia", "+7 3513 555 742", "+7 3513 555 743", "ivanov-sedykh@ilmeny.example", "Head of Laboratory", "03", "", "Ore microscopy|Rare-metal pegmatites|Microsc. photometry", "2 3 4 8 21 22", "", 0, "Prefers letters in Russian or German."},
{"2002-10-07", 1, "D", "", "Zhou", "Mei", "School of Earth Resources\nLumo Road 388", "Wuhan", "430074", "China", "+86 27 555 83321", "+86 27 555 83322", "zhou.mei@earth-wuhan.example", "Associate Professor", "0", "", "Skarn deposits|Tin and tungsten|Trace elements in pyrite|Fluid inclusions", "0 1 2 7 8 9 10 12 15 17", "", 2, ""},
{"2003-04-11", 0, "PD", "", "Hartwell", "Geoffrey", "School of Mines\nTreliever Lane 3", "Penryn", "TR10 9FE", "United Kingdom", "+44 1326 555 724", "+44 1326 555 725", "g.hartwell@mines-penryn.example", "Professor of Applied Mineralogy", "0", "", "Tin and tungsten|Process mineralogy|Ore microscopy|Geometallurgy|Kaolin", "0 1 2 3 4 8 9 10 14 18 20 23 24 27", "QEMSCAN|Mineral liberation lab", 1, "Runs the short course 'Ore microscopy for engineers' every spring."},
{"2001-12-12", 2, "", "", "Nieminen", "Aino", "Geological Survey\nKallioportti 4", "Espoo", "02150", "Finland", "+358 29 555 2300", "", "aino.nieminen@survey-fi.example", "Research Scientist", "2", "", "Nickel laterites|Chromitite petrology|Geometallurgy", "0 2 8 9 10 14 15 18 20", "", 2, ""},
{"2003-01-28", 0, "D", "Dr. h.c.", "Van der Meulen", "Pieter", "Faculty of Geosciences\nGrachtweg 11", "Delft", "2628 CN", "Netherlands", "+31 15 555 8010", "+31 15 555 8011", "p.vandermeulen@geo-delft.example", "Lecturer", "0", "", "Process mineralogy|Image analysis|Ore microscopy", "1 2 3 9 10 23", "Hyperspectral core scanner", 1, ""},
{"2002-05-06", 0, "", "", "Kowalczyk", "Tomasz", "Instytut Nauk Geologicznych\nul. Kamienna 30", "Kraków", "30-059", "Poland", "+48 12 555 2374", "", "t.kowalczyk@geo-krakow.example", "Assistant", "0", "", "Zinc-lead deposits|Ore microscopy", "0 1 2 9", "", 0, ""},
{"2002-09-19", 1, "D", "", "Horváth", "Eszter", "Department of Mineralogy\nBánya utca 12", "Budapest", "1117", "Hungary", "+36 1 555 2200", "+36 1 555 2201", "eszter.horvath@min-budapest.example", "Senior Lecturer", "01", "", "Ore microscopy|Manganese ores|Meteorites", "1 2 3 5 8 21", "", 2, "Keeps the university's meteorite collection."},
{"2003-02-03", 0, "P", "", "Dumitrescu", "Radu", "Facultatea de Geologie\nStr. Minerilor 1", "Cluj-Napoca", "400084", "Romania", "+40 264 555 405", "", "radu.dumitrescu@geo-cluj.example", "Professor", "0", "", "Epithermal gold|Tellurides|Ore microscopy", "1 2 3 4 8 27", "", 1, ""},
{"2001-06-14", 0, "D", "", "Papadimitriou", "Nikos", "School of Mining Engineering\nOdos Metallou 9, Zografou", "Athens", "157 80", "Greece", "+30 210 555 2167", "+30 210 555 2168", "npapad@metal-athens.example", "Associate Professor", "0", "", "Laurion ores|Process mineralogy|Slags and ancient metallurgy", "0 1 2 9 10 18 20 24", "", 2, ""},
{"2002-03-27", 2, "D", "", "Moreau-Lefèvre", "Élise", "École de géologie\n2 rue des Mineurs", "Vandœuvre-lès-Nancy", "54500", "France", "+33 3 83 55 52 81", "+33 3 83 55 52 82", "elise.moreau@geo-nancy.example", "Maître de conférences", "0", "", "Fluid inclusions|Uranium ores|Raman spectroscopy", "2 6 7 8 11", "", 1, ""},
{"2003-05-08", 0, "PD", "", "Steinacher", "Florian", "Lehrstuhl für Rohstoffmineralogie\nErzbergstraße 15", "Leoben", "8700", "Austria", "+43 3842 555 3200", "+43 3842 555 3201", "florian.steinacher@rohstoffe-leoben.example", "Professor", "0", "", "Ore microscopy|Magnesite|Tungsten|Geometallurgy", "0 1 2 3 4 8 9 10 14 15 18 20 23 27", "", 2, ""},
{"2003-05-09", 1, "", "Mag.", "Steinacher", "Birgit", "Lehrstuhl für Rohstoffmineralogie\nErzbergstraße 15", "Leoben", "8700", "Austria", "+43 3842 555 3210", "+43 3842 555 3201", "birgit.steinacher@rohstoffe-leoben.example", "Technician", "0", "", "Sample preparation|Ore microscopy", "0 1", "", 0, ""},
{"2002-07-01", 0, "D", "", "Achterberg", "Henrik", "Mineralogisches Museum\nKieselweg 48", "Hamburg", "20146", "Germany", "+49 40 555 2079", "", "achterberg@museum-hh.example", "Curator", "1", "", "Systematic mineralogy|Ore microscopy|Meteorites", "1 2 3 27", "", 0, "Museum loans of polished sections on request."},
{"", 0, "", "", "Gallagher", "Seán", "", "Dublin", "D04", "Ireland", "", "", "s.gallagher@geo-dublin.example", "", "", "", "Zinc-lead deposits", "", "", 0, ""},
{"2003-03-04", 2, "D", "", "Sigurðardóttir", "Katrín", "Institute of Earth Sciences\nHraunbraut 7", "Reykjavík", "101", "Iceland", "+354 525 5550", "", "katrin.s@earth-reykjavik.example", "Research Scientist", "0", "", "Geothermal ore minerals|Fluid inclusions|Trace elements in pyrite", "2 7 8 12 15", "", 1, ""},
{"2002-11-29", 0, "PD", "", "Baumgartner", "Ueli", "Institut für Geochemie\nBergstrasse 25", "Zürich", "8092", "Switzerland", "+41 44 555 3801", "+41 44 555 3802", "baumgartner@geochem-zh.example", "Professor", "0", "", "Porphyry copper|Fluid inclusions|Trace elements in pyrite|LA-ICP-MS", "1 2 8 9 10 12 15 16 17", "Fluid inclusion LA-ICP-MS", 2, ""},
{"2001-04-23", 0, "D", "", "Duarte Nogueira", "Rui", "Departamento de Geociências\nRua das Minas 687", "Porto", "4169-007", "Portugal", "+351 22 555 0480", "", "rnogueira@geo-porto.example", "Senior Researcher", "3", "", "Tin and tungsten|Skarn deposits|Ore microscopy", "0 1 2 3 8 9 10", "", 1, ""},
{"2002-04-08", 1, "", "Lic.", "Villalobos", "Carmen", "Servicio Geológico\nAv. Los Cerros 1204, Providencia", "Santiago", "7520405", "Chile", "+56 2 555 75000", "+56 2 555 75001", "cvillalobos@survey-santiago.example", "Head of Ore Mineralogy", "23", "", "Porphyry copper|Supergene enrichment|Iron oxide ores|Lithium brines", "0 1 2 8 9 10 14 15 18 20 22 23", "", 2, "Field season from November to March,\nreplies may be slow."},
{"2003-02-25", 0, "D", "", "Quispe Mamani", "Álvaro", "Facultad de Ingeniería Geológica\nAv. Los Andes 210", "Lima", "15333", "Peru", "+51 1 555 3070", "", "aquispe@geo-lima.example", "Professor", "0", "", "Epithermal gold|Polymetallic veins|Ore microscopy", "0 1 2 9 10", "", 1, ""},
{"2002-12-16", 0, "", "Ing.", "Bustamante", "Jorge", "Calle Colón 1450, piso 3, of. B", "Mendoza", "M5500", "Argentina", "+54 261 555 4411", "+54 261 555 4412", "jbustamante@consult-mza.example", "Consultant", "45", "Consultancy", "Porphyry copper|Process mineralogy|Geometallurgy", "0 1 2 23", "", 2, "Works mainly for mining companies."},
{"2003-04-16", 1, "D", "", "Domínguez Reyes", "Patricia", "Instituto de Geología\nCalle Cantera 45, Coyoacán", "Ciudad de México", "04510", "Mexico", "+52 55 555 4317", "", "pdominguez@geologia-mx.example", "Researcher", "0", "", "Silver ores|Epithermal gold|Fluid inclusions", "0 1 2 3 7 8", "", 1, ""},
{"2001-11-05", 0, "P", "", "Whitcombe", "Harold", "Department of Geosciences\n1040 E. Saguaro Street", "Tucson", "AZ 85721", "USA", "+1 520 555 6024", "+1 520 555 6025", "hwhitcombe@geo-tucson.example", "Professor Emeritus", "0", "", "Porphyry copper|Supergene enrichment|Ore microscopy|History of mining", "1 2 3 4 27", "", 0, "Retired, still answers letters."},
{"2003-01-20", 2, "D", "", "Kessler-Young", "Rebecca", "Department of Geology\nMineral Hall, 14 Quarry Road", "Golden", "CO 80401", "USA", "+1 303 555 3800", "+1 303 555 3801", "rkessler@geology-golden.example", "Associate Professor", "0", "", "Automated mineralogy|Geometallurgy|Critical metals|Rare earth elements", "0 1 2 8 9 10 11 14 15 18 20 23", "Automated mineralogy, QEMSCAN|Micro-CT", 2, ""},
{"2002-02-18", 0, "D", "", "Thibodeaux", "Marcel", "State Bureau of Mines\nMail Stop 178", "Reno", "NV 89557", "USA", "+1 775 555 6691", "", "mthibodeaux@mines-reno.example", "Economic Geologist", "2", "", "Carlin-type gold|Trace elements in pyrite", "2 8 9 10 12", "", 1, ""},
{"2003-03-12", 0, "PD", "", "Fairbairn", "Alistair", "Centre for Ore Research\n35 Banksia Drive", "Perth", "WA 6009", "Australia", "+61 8 555 1234", "+61 8 555 1235", "a.fairbairn@ore-perth.example", "Professor", "0", "", "Gold deportment|Nickel laterites|Iron oxide ores|Geometallurgy|Lithium pegmatites", "0 1 2 8 9 10 12 13 15 19 23", "", 2, ""},
{"2002-09-02", 1, "", "", "Nguyen", "Thi Lan", "School of Earth Sciences\nPrivate Bag 79", "Hobart", "TAS 7001", "Australia", "+61 3 555 2890", "", "thilan.nguyen@earth-hobart.example", "Postdoctoral Fellow", "0", "", "Trace elements in pyrite|Volcanic-hosted massive sulphides|LA-ICP-MS", "2 9 10 15", "", 1, ""},
{"2001-08-27", 0, "D", "", "Rutherford-Kaye", "Ian", "Geology Department\nPO Box 56", "Dunedin", "9054", "New Zealand", "+64 3 555 7505", "+64 3 555 7506", "ian.rk@geology-dunedin.example", "Senior Lecturer", "0", "", "Orogenic gold|Antimony|Ore microscopy", "0 1 2 9", "", 1, ""},
{"2003-04-07", 0, "PD", "", "Mokoena", "Thabo", "School of Geosciences\nPrivate Bag 3, Braamfontein", "Johannesburg", "2050", "South Africa", "+27 11 555 6542", "+27 11 555 6543", "thabo.mokoena@geo-joburg.example", "Professor", "0", "", "PGE mineralogy|Chromitite petrology|Witwatersrand gold|Process mineralogy", "0 1 2 3 4 8 9 10 15 18 20 23 27", "Mineral liberation lab", 2, "The PGE group welcomes visiting students,\nplease write early."},
{"2002-06-10", 0, "", "B.Min.Sc.", "Mwanza", "Joseph", "Copperbelt Geological Services\nPlot 12, Malachite Avenue", "Kitwe", "", "Zambia", "+260 212 555 210", "", "jmwanza@cbgs-kitwe.example", "Mineralogist", "4", "", "Sediment-hosted copper|Cobalt|Process mineralogy", "0 1 2 24", "", 1, ""},
{"2000-10-16", 0, "D", "", "El-Sayed", "Mahmoud", "Geology Department\n12 Granite Street", "Cairo", "11566", "Egypt", "+20 2 555 2301", "", "m.elsayed@geo-cairo.example", "Lecturer", "0", "", "Gold deportment|Tin and tungsten|Rare-metal granites", "1 2 9", "", 0, ""},
{"2003-02-10", 1, "D", "", "Yildirim", "Elif", "Jeoloji Bölümü\nMaden Sokak 4", "Istanbul", "34469", "Turkey", "+90 212 555 6240", "", "elif.yildirim@jeoloji-ist.example", "Associate Professor", "0", "", "Chromitite petrology|Epithermal gold|Ore microscopy", "0 1 2 3 8", "", 1, ""},
{"2002-01-21", 0, "D", "", "Sharma", "Vikram", "Department of Applied Geology\nMines Road 14", "Dhanbad", "826004", "India", "+91 326 555 5420", "+91 326 555 5421", "vsharma@applgeo-dhanbad.example", "Professor", "0", "", "Ore microscopy|Manganese ores|Iron oxide ores|Process mineralogy", "0 1 2 3 4 9 24", "", 2, ""},
{"2003-04-24", 2, "D", "", "Kusumawardani", "Ratna", "Faculty of Earth Sciences\nJl. Tambang 10", "Bandung", "40132", "Indonesia", "+62 22 555 4212", "", "ratna.k@geo-bandung.example", "Lecturer", "0", "", "Epithermal gold|Nickel laterites|Porphyry copper", "1 2 9 10", "", 1, ""},
{"2002-08-26", 0, "", "", "Park", "Joon-ho", "Mineral Resources Division\n124 Gwangsan-ro, Yuseong-gu", "Daejeon", "34132", "South Korea", "+82 42 555 3421", "+82 42 555 3422", "jhpark@resources-daejeon.example", "Principal Researcher", "3", "", "Tungsten|Fluid inclusions|Rare earth elements", "2 7 8 9 10 11 12", "", 2, ""},
{"2001-05-30", 0, "D", "", "Abenov", "Serik", "Institute of Geological Sciences\nRudnaya 69a", "Almaty", "050010", "Kazakhstan", "+7 727 555 1945", "", "s.abenov@geol-almaty.example", "Laboratory Head", "3", "", "Copper-molybdenum ores|Ore microscopy|Microsc. photometry", "1 2 3 4", "", 0, ""},
{"2002-10-28", 0, "", "M.Sc.", "Rostami", "Dariush", "Mineral Processing Center\nIndustrial Road, km 8", "Tehran", "", "Iran", "+98 21 555 4020", "", "d.rostami@processing-tehran.example", "Mineralogist", "34", "", "Process mineralogy|Chromitite petrology|Iron oxide ores", "0 1 2 18 20 23 24", "", 1, ""},
{"2003-05-06", 1, "", "", "Halvorsen", "Ingrid", "Institutt for geovitenskap\nFjellvegen 201", "Tromsø", "9037", "Norway", "+47 77 555 400", "", "ingrid.halvorsen@geo-tromso.example", "Engineer", "0", "", "Sample preparation|Ore microscopy|Graphite", "0 1 2 25", "", 1, ""},
{"2003-03-31", 0, "D", "", "Bjørnstad", "Eirik", "Department of Geoscience\nBergverksvegen 15a", "Trondheim", "7031", "Norway", "+47 73 555 940", "+47 73 555 941", "eirik.bjornstad@geo-trondheim.example", "Associate Professor", "0", "", "Ilmenite ores|Process mineralogy|Magmatic sulphides", "0 1 2 9 10 20 23 26", "", 2, ""},
{"2002-04-29", 0, "P", "", "Van Houtte", "Luc", "Département de Géologie\nRue des Houilleurs 14", "Liège", "4000", "Belgium", "+32 4 555 2250", "", "luc.vanhoutte@geo-liege.example", "Professor", "01", "", "Zinc-lead deposits|Cobalt|History of mining", "1 2 3 27", "", 0, ""},
{"2002-12-09", 2, "", "", "Dvoráková", "Petra", "Ústav mineralogie\nHornická 6", "Praha", "128 43", "Czech Republic", "+420 221 555 510", "", "petra.dvorakova@natur-praha.example", "Doctoral student", "0", "", "Uranium ores|Ore microscopy|Raman spectroscopy", "2 7", "", 1, ""},
{"2003-01-06", 0, "D", "", "Petrov", "Georgi", "Geological Institute\nRudnik Str., bl. 24", "Sofia", "1113", "Bulgaria", "+359 2 555 6678", "", "gpetrov@geology-sofia.example", "Associate Professor", "03", "", "Epithermal gold|Polymetallic veins|Tellurides", "1 2 3 8 9 10", "", 2, ""},
{"2002-07-15", 0, "", "", "Piras", "Matteo", "Dipartimento di Geologia\nVia delle Miniere 51", "Cagliari", "09127", "Italy", "+39 070 555 2450", "", "matteo.piras@geo-cagliari.example", "Researcher", "0", "", "Zinc-lead deposits|Slags and ancient metallurgy|Ore microscopy", "0 1 2 9 10 24", "", 1, ""},
{"2003-02-17", 1, "D", "", "Marchetti", "Chiara", "Dipartimento di Scienze della Terra\nVia dei Cristalli 35", "Torino", "10125", "Italy", "+39 011 555 5130", "", "chiara.marchetti@dst-torino.example", "Curator", "01", "", "Ore microscopy|Systematic mineralogy|Meteorites", "1 2 3 5 27", "", 1, "Not related to G. Marchetti."},
{"2001-10-01", 0, "", "", "Aldershaw", "Nigel", "Hillside Cottage, Moor Lane\nWensleydale", "Leyburn", "DL8 5AB", "United Kingdom", "+44 1969 555 318", "", "nigel.aldershaw@home-mail.example", "Retired mine geologist", "5", "", "History of mining|Ore microscopy|Lead mining in the Pennines", "2 27", "Home microscope, reflected light", 0, "Private collector with some 3,000 polished sections."},
{"2002-11-11", 2, "", "", "Fontaine", "Sophie", "Service géologique\n3 rue des Carrières", "Orléans", "45060", "France", "+33 2 38 55 53 10", "+33 2 38 55 53 11", "s.fontaine@survey-orleans.example", "Mineralogist", "23", "", "Critical metals|Lithium pegmatites|Automated mineralogy", "0 1 2 8 9 10 13 14 15 19 23", "", 2, ""},
{"2003-04-02", 0, "D", "", "Jansen-Oduya", "Michael", "Mineralogy Section\nP.O. Box 30197", "Nairobi", "00100", "Kenya", "+254 20 555 3421", "", "mjansen@museum-nairobi.example", "Research Scientist", "12", "", "Gold deportment|Gemstones|Ore microscopy", "1 2 3 9", "", 1, ""},
{"2002-05-20", 0, "", "", "Castellanos", "Diego", "Apartado Aéreo 2851", "Medellín", "050034", "Colombia", "+57 4 555 5330", "", "dcastellanos@oro-medellin.example", "Independent consultant", "5", "Consultancy", "Gold deportment|Emerald deposits|Process mineralogy", "0 1 2 23?", "", 2, "Answers in Spanish or English."},
{"", 1, "", "", "Lindqvist", "", "", "Luleå", "", "Sweden", "", "", "", "", "", "", "", "", "", 0, ""},
{"2003-05-13", 0, "PD", "", "Zelenka", "Vojtech", "Institut für Angewandte Mineralogie\nAm Steinbruch 7", "Würzburg", "97074", "Germany", "+49 931 555 5420", "+49 931 555 5421", "v.zelenka@min-wuerzburg.example", "Professor", "0", "", "Ore microscopy|Microsc. photometry|Image analysis|Gold deportment|Tellurides|Teaching reflected-light microscopy", "0 1 2 3 4 5 6 8 9 10 11 16 17 21 22 23 27", "Rotating compensator microscope|Image analysis workstation|Spectral reflectance database", 1, "Compiles the directory:\nplease send corrections to this address."},
};
// clang-format on

std::string cp1252(const std::string& utf8) {
    std::string text;
    for (char c : utf8) {
        if (c == '\n') text += '\r';
        text += c;
    }
    const std::optional<std::string> bytes = to_cp1252(QString::fromStdString(text));
    if (!bytes) {
        std::fprintf(stderr, "No Windows-1252 form for \"%s\".\n", utf8.c_str());
        std::exit(1);
    }
    return *bytes;
}

std::vector<std::string> split(const std::string& list, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(list);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

SerialDate day(const std::string& text) {
    if (text.empty()) return 0;
    return serial_from_civil(
        {std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))});
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf("Usage: make_sample FOLDER\n"
                    "Writes the made-up sample directory of `make run` as %s in FOLDER.\n",
                    DataFileName);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_sample FOLDER\n");
        return 2;
    }
    EntryTable t = empty_directory(std::int16_t(people.size()));
    t.TableModified = 1;

    for (std::size_t i = 0; i < people.size(); ++i) {
        const Person& p = people[i];
        const std::size_t e = i + 1;
        t.ChangeDate[e] = day(p.stored);
        t.Salutation[e] = std::int16_t(p.salutation);
        t.TitleFlags[e] = {std::int16_t(std::string(p.titles).find('P') != std::string::npos),
                           std::int16_t(std::string(p.titles).find('D') != std::string::npos)};
        for (const char* k = p.kinds; *k; ++k) t.OrganizationFlags[e][*k - '0'] = 1;
        for (const std::string& index : split(p.equipment, ' '))
            t.EquipmentFlags[e][std::stoi(index)] = index.back() == '?' ? 2 : 1;
        t.EquipmentFlags[e][CollaborationFlag] = std::int16_t(p.collaboration);

        RowTexts s;
        const char* fields[] = {p.title,   p.surname, p.first, p.address, p.city,    p.zip,
                                p.country, p.phone,   p.fax,   p.email,   p.position};
        for (int slot = 0; slot <= 10; ++slot) s[slot] = cp1252(fields[slot]);
        const auto interests = split(p.interests, '|');
        for (std::size_t k = 0; k < interests.size() && k < 6; ++k)
            s[11 + k] = cp1252(interests[k]);
        const auto equipment = split(p.other_equipment, '|');
        for (std::size_t k = 0; k < equipment.size() && k < 3; ++k)
            s[17 + k] = cp1252(equipment[k]);
        s[20] = cp1252(p.remarks);
        s[21] = cp1252(p.other_kind);
        t.set_texts(e, s);
    }

    // A fixed save day keeps the sample the same each time it is written.
    set_today_for_testing(serial_from_civil({2003, 5, 14}));
    const Result result = save_data_base_as(t, std::filesystem::path(argv[1]) / DataFileName);
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("Wrote %d entries.\n", int(t.EntryCount));
    return 0;
}
