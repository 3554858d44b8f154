#include "TestDatabase.h"

#include <atomic>
#include <chrono>

namespace moru::sqlite::testing {

ScratchDirectory::ScratchDirectory()
{
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = std::filesystem::temp_directory_path() /
             ("moru-sqlite-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void ScratchDirectory::Write(const std::string& name, const std::string& text) const
{
    std::ofstream file(m_path / name, std::ios::binary);
    file << text;
}

dbtool::Json RichSource()
{
    return dbtool::Json::parse(R"JSON({
  "format": "moru-property-db 1",
  "database": {"alias": "RICH", "description": "Every kind of record", "version": 2021,
               "access": {"ZRSIMULATOR": true, "ZRVIEWER": false}},
  "properties": [
    {"name": "TB", "dataType": 1, "interactionType": 0, "elementCount": 1,
     "units": [{"row": "TEMPERATURE", "default": "K"}]},
    {"name": "ANTOINE", "dataType": 1, "interactionType": 0, "elementCount": 3,
     "units": [{"row": "PRESSURE", "default": "Pa"}, {"row": "TEMPERATURE", "default": "K"}]},
    {"name": "FAMILY", "dataType": 2, "interactionType": 0, "elementCount": 1},
    {"name": "HAZARDS", "dataType": 3, "interactionType": 0, "elementCount": 1},
    {"name": "NRTL", "dataType": 1, "interactionType": 1, "elementCount": 2,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 0}, {"ij": 3, "ji": 4, "symmetry": 2}]},
    {"name": "TERNARY", "dataType": 1, "interactionType": 3, "elementCount": 1,
     "elements": [{"ij": 7, "ji": 8, "symmetry": 3}]}
  ],
  "compounds": [
    {"id": 1, "class": "water", "identifiers": {"NAME": ["WATER"], "ALIAS": ["H2O"], "CASRN": ["7732-18-5"],
      "SYNONYM": ["oxidane", "Wasser"]},
     "structures": [{"type": 1, "text": "<molecule id=\"water\"/>"}, {"type": 2, "text": "O"}]},
    {"id": 2, "class": "amines", "identifiers": {"NAME": ["N,N-DIISOPROPYLETHYLAMINE"], "ALIAS": ["C8H19N"],
      "CASRN": ["7087-68-5"], "SYNONYM": ["Hünig's base"]}},
    {"id": 5, "identifiers": {"NAME": ["4,4′-METHYLENEDIANILINE"], "ALIAS": ["C13H14N2"], "CASRN": ["101-77-9"]}},
    {"id": 7, "class": "alcohols", "identifiers": {"NAME": ["ÉTHANOL"], "ALIAS": ["C2H6O"], "CASRN": ["64-17-5"]}}
  ],
  "databanks": [
    {"name": "PURE", "id": 10, "baseName": "PUREBASE", "description": "Pure data",
     "pureInfo": {"password": "pw", "displayName": "Pure components", "product": "Test", "databankType": "PURE",
                  "prompt": "Pick", "helpFile": "pure.chm", "helpCode": 42},
     "compounds": [1, 2, 7],
     "values": [
       {"property": "TB", "compound": 1, "numbers": [373.124]},
       {"property": "TB", "compound": 7, "numbers": [0.30000000000000004]},
       {"property": "ANTOINE", "compound": 1, "numbers": [23.2, null, -1e-300]},
       {"property": "FAMILY", "compound": 2, "text": "amine's family"},
       {"property": "HAZARDS", "compound": 2, "texts": ["flammable", "", "toxic ☠"]}
     ]},
    {"name": "BINARY", "id": 11,
     "binaryInfo": [{"parameter": "NRTL", "gammaModel": "NRTL", "vaporModel": "IDEAL"}, {"parameter": "TERNARY"}],
     "compounds": [7, 1, 5],
     "values": [
       {"property": "NRTL", "compounds": [7, 1], "labels": [1, 2, 3], "numbers": [-55.17, 670.44, 0.3031],
        "regression": {"kind": 1, "firstCompound": "ÉTHANOL", "sigma": 0.01,
                       "ranges": [{"name": "Temp", "lower": 298.15, "upper": 351.4}],
                       "deviations": [{"name": "Pres", "points": 12, "aard": 0.5, "aad": 0.2, "max": 1.25}]}},
       {"property": "NRTL", "compounds": [1, 5], "labels": [2], "numbers": [1.5],
        "regression": {"kind": 4, "deviations": [{"name": "VLE", "points": 3, "aard": 1, "aad": 2, "max": 3}],
                       "citations": ["O'Connell, J. P. (1990)", "Müller & Šimon"]}},
       {"property": "TERNARY", "compounds": {"1": 7, "2": 1, "3": 5}, "labels": [7], "numbers": [2.5]}
     ]},
    {"name": "REACT", "id": 12, "compounds": [1],
     "reactions": [
       {"id": 100, "name": "water ionisation", "type": "DISS", "basis": "MOLALITY", "equation": "H2O = H+ + OH-",
        "species": [{"name": "H2O", "compound": 1, "coefficient": -1}, {"name": "H+", "coefficient": 1},
                    {"name": "OH-", "coefficient": 1}],
        "eqConsts": [-13.995, null], "symmetricEqConsts": [1.5]},
       {"id": 101, "type": "", "basis": "",
        "species": [{"name": "CO2(g)", "coefficient": -1}, {"name": "CO2", "coefficient": 1}]}
     ]}
  ]
})JSON");
}

std::vector<std::string> Texts(const service::IdentifierValuePtr& value)
{
    if (!value || !value->ValueList) return {};
    return *value->ValueList;
}

service::NumericElements FirstNumbers(const service::FoundCompounds& hit)
{
    if (!hit.PropertyValues || hit.PropertyValues->empty() || !hit.PropertyValues->front()) return {};
    const auto* numbers = std::get_if<service::NumericElements>(&hit.PropertyValues->front()->Data);
    return numbers ? *numbers : service::NumericElements{};
}

std::vector<std::string> Entries(const std::string& result)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (true) {
        auto end = result.find("<?>", start);
        entries.push_back(result.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return entries;
        start = end + 3;
    }
}

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

void Build(const dbtool::Json& source, const std::string& path)
{
    auto errors = dbtool::BuildDatabase(source, path);
    for (const auto& error : errors) ADD_FAILURE() << dbtool::Format(error);
    ASSERT_TRUE(errors.empty());
}

} // namespace moru::sqlite::testing
