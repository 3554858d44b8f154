// A hostile database file and a hostile host at once: the input is a call program followed by the
// bytes of a database file. Each run connects that file, lists it, then plays the program over the
// whole C interface with buffers of exactly the sizes the header documents, so that a write past
// one is seen by AddressSanitizer. Afterwards every handle is released and the file must be as it
// was written: the library never writes into a database.
//
// Input: two bytes (little-endian) giving the program's length, the program, then the file.

#include "MoruIntegration.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fault(const std::string& what)
{
    std::fprintf(stderr, "moru_fuzz: %s\n", what.c_str());
    std::abort();
}

// Reads a callback's or an output's text as a host would, so that a missing NUL is seen.
std::string Read(const char* text) { return text ? std::string(text, std::strlen(text)) : std::string(); }

// What the run has learnt: names the library handed out, and handles to use again.
struct World {
    std::vector<std::string> banks;    // "ALIAS.BANK"
    std::vector<std::string> monikers; // "ALIAS BANK"
    std::vector<std::string> texts{"ETHANOL", "WATER",         "BENZENE",  "64-17-5", "7732-18-5",      "H2O", "CO2",
                                   "C2H6O",   "ethyl alcohol", "METHANOL", "",        "\xC3\xA9THANOL", "H+",  "OH-"};
    std::vector<std::string> idTypes{"NAME", "ALIAS", "CASRN", "SYNONYM", "", "name", "INCHI", "FORMULA"};
    std::vector<std::string> properties{"MW",  "TB",   "CPIG",   "STATE",  "GROUPS", "NRTL",
                                        "KIJ", "TERN", "KELIDX", "PLXIDX", "nrtl",   ""};
    std::vector<std::string> aliases{"FUZZ", "fuzz", "NONE", ""};
    std::vector<int> handles;
    int bulkElements = 0; // the most elements of a property of the current bulk load, when read

    void Keep(int handle)
    {
        if (handle != 0 && handles.size() < 4096) handles.push_back(handle);
    }
    void Learn(std::vector<std::string>& pool, const std::string& text)
    {
        if (!text.empty() && pool.size() < 256 && std::find(pool.begin(), pool.end(), text) == pool.end())
            pool.push_back(text);
    }
};

World* g_world = nullptr;

class Program {
public:
    Program(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}
    bool More() const { return m_at < m_size; }
    std::uint8_t Byte() { return m_at < m_size ? m_bytes[m_at++] : 0; }
    int Int()
    {
        const std::uint8_t b = Byte();
        if (b < 200) return b % 24 - 2;
        if (b < 250) return static_cast<int>(Byte()) | static_cast<int>(Byte()) << 8;
        const int extremes[] = {-1, 0x7fffffff, static_cast<int>(0x80000000u), 65536, -65536, 1 << 20};
        return extremes[b % 6];
    }
    bool Flag() { return Byte() & 1; }

    const std::string& Pick(const std::vector<std::string>& pool)
    {
        static thread_local std::string made;
        const std::uint8_t b = Byte();
        if (b < 224 && !pool.empty()) return pool[b % pool.size()];
        if (b < 240) {
            const std::size_t length = Byte();
            made.clear();
            for (std::size_t i = 0; i < length && More(); ++i) made.push_back(static_cast<char>(Byte()));
            return made;
        }
        const std::size_t lengths[] = {19, 20, 255, 256, 4096, 5000};
        made.assign(lengths[b % 6], static_cast<char>('A' + b % 26));
        return made;
    }
    // null, the string, or null for the `nullable` case
    const char* Text(const std::vector<std::string>& pool, bool nullable = true)
    {
        const std::string& text = Pick(pool);
        m_keep.push_back(text);
        if (nullable && Byte() == 255) return nullptr;
        return m_keep.back().c_str();
    }
    // A host list: entries from the pool, ended by a null pointer (or an empty string).
    const char** List(const std::vector<std::string>& pool)
    {
        const std::uint8_t b = Byte();
        if (b == 255) return nullptr;
        const std::size_t count = b % 6;
        auto& list = m_lists.emplace_back();
        for (std::size_t i = 0; i < count; ++i) {
            m_keep.push_back(Pick(pool));
            list.push_back(m_keep.back().c_str());
        }
        list.push_back(nullptr);
        return list.data();
    }
    int Handle()
    {
        const std::uint8_t b = Byte();
        if (b < 200 && !g_world->handles.empty())
            return g_world->handles[g_world->handles.size() - 1 - b % g_world->handles.size()];
        if (b < 230) return b - 210;
        return Int();
    }
    int BufferSize()
    {
        const std::uint8_t b = Byte();
        const int sizes[] = {0, 1, 2, 8, 20, 64, 256, 257, 1024, 4097};
        return b < 250 ? sizes[b % 10] : -1;
    }
    void EndCall()
    {
        m_keep.clear();
        m_lists.clear();
    }

private:
    const std::uint8_t* m_bytes;
    std::size_t m_size;
    std::size_t m_at = 0;
    std::deque<std::string> m_keep; // stable addresses: the calls hold pointers into it
    std::vector<std::vector<const char*>> m_lists;
};

// Heap buffers of exact sizes: ASan's redzone starts right after the last byte.
struct Buffer {
    explicit Buffer(int size) : bytes(static_cast<std::size_t>(std::max(size, 1)), '\x7f') {}
    char* get() { return bytes.data(); }
    std::string Text() const
    {
        const auto end = std::find(bytes.begin(), bytes.end(), '\0');
        if (end == bytes.end()) Fault("an output buffer holds no NUL");
        return std::string(bytes.begin(), end);
    }
    std::vector<char> bytes;
};

struct Buffers {
    Buffers(int count, int size) : buffers(static_cast<std::size_t>(count), Buffer(size))
    {
        for (auto& b : buffers) pointers.push_back(b.get());
    }
    std::vector<Buffer> buffers;
    std::vector<char*> pointers;
};

// ---- host callbacks -------------------------------------------------------------------------

int MORU_CALL OnDatabank(const char* bank, const char* alias, const char* password, const char* display,
                         const char* base, const char* help, int, const char* product, const char* type,
                         const char* prompt, int, int, int)
{
    const std::string b = Read(bank), a = Read(alias);
    Read(password), Read(display), Read(base), Read(help), Read(product), Read(type), Read(prompt);
    if (!b.empty() && !a.empty() && g_world) {
        g_world->Learn(g_world->banks, a + "." + b);
        g_world->Learn(g_world->monikers, a + " " + b);
        g_world->Learn(g_world->aliases, a);
    }
    return 0;
}
int MORU_CALL OnDatabankWithAccess(const char* bank, const char* alias, const char* password, const char* display,
                                   const char* base, const char* help, int code, const char* product, const char* type,
                                   const char* prompt, int pure, int binary, int reactions, int, int)
{
    return OnDatabank(bank, alias, password, display, base, help, code, product, type, prompt, pure, binary, reactions);
}
int MORU_CALL OnBinaryParameter(const char* alias, const char* bank, const char* parameter, const char* gamma,
                                const char* vapour)
{
    Read(alias), Read(bank), Read(gamma), Read(vapour);
    if (g_world) g_world->Learn(g_world->properties, Read(parameter));
    return 0;
}
int MORU_CALL OnHelpTopic(int) { return 0; }
int MORU_CDECL OnAddCompound(const char* bank, const char* alias, int)
{
    Read(bank), Read(alias);
    return 0;
}
int MORU_CDECL OnAddCompoundFull(const char* bank, const char* alias, int, const char* name, const char* cas,
                                 const char* compoundClass, const char* synonym, double, double, int)
{
    Read(bank), Read(alias), Read(name), Read(cas), Read(compoundClass), Read(synonym);
    if (g_world) g_world->Learn(g_world->texts, Read(name));
    return 0;
}
int g_selectedLimit = 0;
const char* MORU_CDECL OnSelected(int index)
{
    if (!g_world || index >= g_selectedLimit) return nullptr;
    if (g_world->monikers.empty()) return "FUZZ PURE";
    return g_world->monikers[static_cast<std::size_t>(index) % g_world->monikers.size()].c_str();
}
void MORU_CDECL OnSetDatabanks(char** monikers, int count)
{
    for (int i = 0; i < count; ++i) Read(monikers[i]);
    if (count >= 0 && monikers[count] != nullptr) Fault("the selection's monikers are not ended by null");
}
void MORU_CDECL OnHelpId(int) {}
void MORU_CDECL OnNist(const char* title, const char* prop, const char* tab, int, double, double, int, double,
                       const char* text)
{
    Read(title), Read(prop), Read(tab), Read(text);
}

// A structure control that counts its references and reads its text arguments.
struct Control {
    MoruDispatch dispatch;
    int references = 1;
};
int MORU_CALL ControlQuery(MoruDispatch*, const void*, void** object)
{
    if (object) *object = nullptr;
    return -1;
}
unsigned int MORU_CALL ControlAddRef(MoruDispatch* self) { return ++reinterpret_cast<Control*>(self)->references; }
unsigned int MORU_CALL ControlRelease(MoruDispatch* self) { return --reinterpret_cast<Control*>(self)->references; }
int MORU_CALL ControlTypeInfoCount(MoruDispatch*, unsigned int* count)
{
    if (count) *count = 0;
    return 0;
}
int MORU_CALL ControlTypeInfo(MoruDispatch*, unsigned int, unsigned int, void**) { return -1; }
int MORU_CALL ControlIds(MoruDispatch*, const void*, const char* const* names, unsigned int count, unsigned int,
                         int* ids)
{
    for (unsigned int i = 0; i < count; ++i) {
        Read(names[i]);
        ids[i] = static_cast<int>(i) + 1;
    }
    return 0;
}
int MORU_CALL ControlInvoke(MoruDispatch*, int, const void*, unsigned int, unsigned short, const char* const* texts,
                            unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i) Read(texts[i]);
    return 0;
}
const MoruDispatchVtbl kControlMethods{ControlQuery,    ControlAddRef, ControlRelease, ControlTypeInfoCount,
                                       ControlTypeInfo, ControlIds,    ControlInvoke};

// ---- the files of a run ------------------------------------------------------------------------

struct Files {
    fs::path directory;
    fs::path config[2], database[2], script;
};
Files g_files;

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) Fault("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A dialog user made of the program's bytes.
void WriteScript(Program& program, World& world)
{
    std::string script;
    const int steps = program.Byte() % 8;
    for (int i = 0; i < steps; ++i) {
        switch (program.Byte() % 9) {
        case 0: script += "search\n"; break;
        case 1: script += "search " + program.Pick(world.texts) + "\n"; break;
        case 2: script += "pick " + std::to_string(program.Int()) + " " + std::to_string(program.Int()) + "\n"; break;
        case 3: script += "add\n"; break;
        case 4: script += "help\n"; break;
        case 5: script += "select " + program.Pick(world.banks) + "\n"; break;
        case 6: script += "select\n"; break;
        case 7:
            script += "click " + std::to_string(program.Int()) + " | " + program.Pick(world.texts) + " | tab | " +
                      program.Pick(world.properties) + "," + program.Pick(world.properties) + " | " +
                      std::to_string(program.Int()) + ",1.5," + program.Pick(world.texts) + "\n";
            break;
        default: script += "resize " + std::to_string(program.Int()) + " " + std::to_string(program.Int()) + "\n";
        }
    }
    script.erase(std::remove(script.begin(), script.end(), '\0'), script.end());
    WriteFile(g_files.script, script);
}

// ---- the calls -----------------------------------------------------------------------------------

void ReadMessages(int messages, int codes, int size)
{
    for (int i = -1; i <= size; ++i) {
        GetNextDatabaseSuccessCode(codes, i);
        const int needed = GetNextDatabaseErrorMessageSize(messages, i);
        if (needed > 0) {
            Buffer text(needed);
            GetNextDatabaseErrorMessage(messages, i, text.get(), needed);
            text.Text();
            Buffer tooSmall(needed - 1);
            GetNextDatabaseErrorMessage(messages, i, tooSmall.get(), needed - 1);
        }
    }
    Databank_ReleaseHandle(messages);
    Databank_ReleaseHandle(codes);
}

void Connect(World& world, int slot)
{
    int size = 0, success = 0, codes = 0;
    const int messages =
        InitVNFromConfigFileWithReturnMsgs(g_files.config[slot].c_str(), "pw", &size, &success, &codes);
    ReadMessages(messages, codes, size);
    world.bulkElements = 0;
    ListMoruDatabanks_WithDBAccessFlag(reinterpret_cast<void*>(&OnDatabankWithAccess), nullptr,
                                       reinterpret_cast<void*>(&OnBinaryParameter), 1);
}

void LearnBulkProperties(World& world, int table)
{
    for (int position = 0; position < 512; ++position) {
        int propertyPosition = 0, elements = 0;
        const int result = Optimized_GetNextProperty(table, position, &propertyPosition, &elements);
        if (result == -1) break;
        if (result == 1) world.bulkElements = std::max(world.bulkElements, elements);
    }
}

void Call(Program& p, World& w, int slot)
{
    const int op = p.Byte() % 104;
    switch (op) {
    case 0: DllEnsureInit(); break;
    case 1: DllForceTerm(); break;
    case 2:
        InitializeFromConfigFile(p.Flag() ? g_files.config[slot].c_str() : "/nonexistent/moru.json", p.Text(w.texts));
        break;
    case 3: InitializeVNFromConfigFile(p.Flag() ? g_files.config[slot].c_str() : nullptr, p.Text(w.texts)); break;
    case 4: Connect(w, slot); break;
    case 5: {
        // Message lists read with handles and positions of the program's choosing.
        const int handle = p.Handle(), position = p.Int(), size = p.BufferSize();
        GetNextDatabaseSuccessCode(handle, position);
        GetNextDatabaseErrorMessageSize(handle, position);
        Buffer text(size);
        GetNextDatabaseErrorMessage(handle, position, p.Flag() ? text.get() : nullptr, size);
        break;
    }
    case 6: CheckExceptions(); break;
    case 7: CreateDBConfigFile(); break;
    case 8: {
        const int size = p.BufferSize();
        Buffer value(size);
        const std::string name = p.Flag() ? p.Pick(w.banks) : p.Pick(w.aliases);
        GetDescription(name.c_str(), p.Flag() ? value.get() : nullptr, size);
        break;
    }
    case 9: SetDatabankTabFlag(p.Flag()); break;
    case 10: FindCompHelpID(p.Flag() ? reinterpret_cast<void*>(&OnHelpTopic) : nullptr); break;
    case 11:
        ListMoruDatabanks(reinterpret_cast<void*>(&OnDatabank), nullptr, reinterpret_cast<void*>(&OnBinaryParameter));
        break;
    case 12: Connect(w, slot); break;
    case 13: ListMoruDatabanks_Vanta(p.Flag() ? reinterpret_cast<void*>(&OnDatabank) : nullptr); break;
    case 14: ListMoruDatabanks_Vanta_WithDBAccessFlag(reinterpret_cast<void*>(&OnDatabankWithAccess), 1); break;
    case 15: {
        const char** list = p.List(w.monikers);
        int count = 0;
        if (list)
            while (list[count]) ++count;
        SetPureDatabankList(list, p.Flag() ? count : std::min(count, p.Byte() % 4));
        break;
    }
    case 16: {
        int collection = -1;
        Databank_GetIdentifiersOfCompoundsWithData(p.Text(w.aliases), p.Text(w.banks), &collection);
        w.Keep(collection);
        break;
    }
    case 17: {
        int types = -1, table = -1;
        const std::string bank = p.Pick(w.banks);
        const auto dot = bank.find('.');
        const std::string alias = bank.substr(0, dot), name = dot == std::string::npos ? bank : bank.substr(dot + 1);
        const int count = Databank_GetDatabankTypeAndPropertyList(alias.c_str(), name.c_str(), &types, &table);
        w.Keep(table);
        for (int i = 0; i <= std::min(count, 300); ++i) {
            Buffer property(MORU_MAX_PROPERTY_NAME_BYTES + 1);
            if (Databank_GetNextPropertyName(table, i, property.get()) == 1) w.Learn(w.properties, property.Text());
        }
        break;
    }
    case 18: {
        Buffer property(MORU_MAX_PROPERTY_NAME_BYTES + 1);
        Databank_GetNextPropertyName(p.Handle(), p.Int(), p.Flag() ? property.get() : nullptr);
        break;
    }
    case 19: {
        int hit = -1;
        FoundCompounds_Find(p.List(w.banks), p.Text(w.texts), p.Text(w.properties), &hit);
        w.Keep(hit);
        break;
    }
    case 20: {
        int hit = -1;
        FoundCompounds_FindByIdentifierType(p.List(w.banks), p.Text(w.texts), p.Text(w.idTypes), p.Text(w.properties),
                                            &hit);
        w.Keep(hit);
        break;
    }
    case 21: {
        int hits = -1;
        FoundCompounds_FindMultiple(p.List(w.banks), p.Text(w.idTypes), p.List(w.texts), p.Text(w.properties), &hits);
        w.Keep(hits);
        break;
    }
    case 22: {
        Buffer name(256), alias(256);
        std::strcpy(name.get(), "x");
        std::strcpy(alias.get(), "y");
        int index = 0;
        FoundCompounds_Find_Vanta(p.List(w.banks), p.Text(w.texts), p.Int(), &index, name.get(), alias.get());
        w.Learn(w.texts, name.Text());
        break;
    }
    case 23: {
        Buffer db(256), bank(256), name(256), alias(256), cas(256), prop(256);
        int index = 0;
        double value = 0;
        if (FoundCompounds_GetObjectDetails(p.Handle(), db.get(), bank.get(), &index, name.get(), alias.get(),
                                            cas.get(), prop.get(), &value) == 1) {
            w.Learn(w.texts, name.Text());
            w.Learn(w.texts, alias.Text());
            cas.Text(), db.Text(), bank.Text(), prop.Text();
        }
        break;
    }
    case 24: {
        const int handle = p.Handle();
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            Buffer db(256), bank(256), name(256), alias(256), cas(256), prop(256);
            int compoundPosition = 0, index = 0;
            double value = 0;
            if (FoundCompounds_GetNextCompoundIdentifier(handle, position, &compoundPosition, db.get(), bank.get(),
                                                         &index, name.get(), alias.get(), cas.get(), prop.get(),
                                                         &value) != 1)
                break;
            name.Text(), alias.Text();
        }
        break;
    }
    case 25: {
        int list = -1, count = -1;
        GetAllCompounds(p.List(w.banks), &list, &count);
        w.Keep(list);
        break;
    }
    case 26: {
        const int handle = p.Handle();
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            Buffer name(256), alias(256), cas(256);
            if (GetAllCompounds_Identifiers(handle, position, name.get(), alias.get(), cas.get()) != 1) break;
            w.Learn(w.texts, name.Text());
            w.Learn(w.texts, alias.Text());
            w.Learn(w.texts, cas.Text());
        }
        break;
    }
    case 27: {
        int enumerator = -1;
        CompoundCollection_GetEnumerator(p.Handle(), p.Flag() ? &enumerator : nullptr);
        w.Keep(enumerator);
        break;
    }
    case 28: CompoundCollectionEnum_MoveNext(p.Handle()); break;
    case 29: {
        const int nameSize = p.BufferSize(), aliasSize = p.BufferSize();
        Buffer name(nameSize), alias(aliasSize);
        int index = 0;
        if (CompoundCollectionEnum_GetItem(p.Handle(), &index, name.get(), nameSize, alias.get(), aliasSize) == 1 &&
            nameSize > 0)
            w.Learn(w.texts, name.Text());
        break;
    }
    case 30: {
        const int nameSize = p.BufferSize(), valueSize = p.BufferSize();
        Buffer name(nameSize), value(valueSize);
        GetIdValueFromDbank(p.Text(w.aliases), p.Text(w.banks), p.Text(w.idTypes), p.Int(), name.get(), nameSize,
                            value.get(), valueSize);
        break;
    }
    case 31: {
        int compound = -1;
        GetCompidFromIdInDbank(p.Text(w.aliases), p.Text(w.banks), p.Text(w.idTypes), p.Text(w.texts),
                               p.Flag() ? &compound : nullptr);
        break;
    }
    case 32: {
        int set = -1;
        Reactions_GetAllReactionObjects(p.List(w.texts), p.List(w.banks), p.Text(w.idTypes), p.Int(), &set);
        w.Keep(set);
        break;
    }
    case 33: {
        const int handle = p.Handle();
        const bool symmetric = p.Flag();
        for (int position = p.Int(), n = 0; n < 32; ++position, ++n) {
            Buffer type(256), basis(256);
            Buffers aliases(MORU_MAX_REACTION_SPECIES, MORU_SPECIES_ALIAS_BUFFER_SIZE);
            std::vector<double> coefficients(MORU_MAX_REACTION_SPECIES), constants(MORU_MAX_EQUILIBRIUM_CONSTANTS),
                symmetricConstants(MORU_MAX_EQUILIBRIUM_CONSTANTS);
            int species = 0;
            const int result = Reactions_GetNextReactionObject(
                handle, position, type.get(), basis.get(), &species, aliases.pointers.data(), coefficients.data(),
                constants.data(), symmetric ? symmetricConstants.data() : nullptr, nullptr);
            if (result == -1) break;
            if (result == 1) {
                if (species < 0 || species > MORU_MAX_REACTION_SPECIES) Fault("a reaction with too many species");
                for (int i = 0; i < species; ++i) aliases.buffers[static_cast<std::size_t>(i)].Text();
            }
        }
        break;
    }
    case 34: {
        int value = -1;
        CompoundProperties_GetCompoundProperty(p.Text(w.aliases), p.Text(w.banks), p.Text(w.texts), p.Text(w.idTypes),
                                               p.Text(w.properties), &value);
        w.Keep(value);
        break;
    }
    case 35: {
        int enumerator = -1;
        CompoundProperties_GetAllCompoundProperties(p.Text(w.aliases), p.Text(w.banks), p.Text(w.texts),
                                                    p.Text(w.idTypes), &enumerator);
        w.Keep(enumerator);
        break;
    }
    case 36: PropertyValueCollectionEnum_MoveNext(p.Handle()); break;
    case 37: {
        int value = 0;
        PropertyValueCollectionEnum_GetItem(p.Handle(), &value);
        w.Keep(value);
        break;
    }
    case 38: {
        // A value read the way the header tells a host to: type and size first, then the reader.
        const int handle = p.Handle();
        int type = 0;
        const int elements = PropertyValueObject_NumberOfElements(handle);
        if (elements < 0) Fault("a negative number of elements");
        PropertyValueObject_Type(handle, &type);
        const int size = p.BufferSize();
        Buffer property(size);
        PropertyValueObject_PropertyId(handle, property.get(), size);
        if (elements > 100000) break; // a host would refuse to allocate this
        std::vector<double> numbers(static_cast<std::size_t>(std::max(elements, 1)));
        double constant = 0;
        PropertyValueObject_ValueConstant(handle, &constant);
        if (elements > 0) PropertyValueObject_ValueVector(handle, numbers.data());
        Buffer text(size);
        PropertyValueObject_ValueText(handle, text.get(), size);
        if (elements > 0 && static_cast<long>(elements) * std::max(size, 1) <= (1 << 20)) {
            Buffers texts(elements, size);
            PropertyValueObject_ValueTextList(handle, texts.pointers.data(), size);
        }
        Buffers rows(MORU_MAX_UNIT_ROWS, size), units(MORU_MAX_UNIT_ROWS, size);
        const int unitRows =
            PropertyValueObject_UnitsOfMeasure(handle, rows.pointers.data(), units.pointers.data(), size);
        if (unitRows < 0 || unitRows > MORU_MAX_UNIT_ROWS) Fault("more unit rows than the host's arrays");
        break;
    }
    case 39: {
        int type = 0;
        PropertyValueObject_Type(p.Handle(), p.Flag() ? &type : nullptr);
        double value = 0;
        PropertyValueObject_ValueConstant(p.Handle(), p.Flag() ? &value : nullptr);
        Buffer text(8);
        PropertyValueObject_PropertyId(p.Handle(), p.Flag() ? text.get() : nullptr, p.Int());
        PropertyValueObject_ValueText(p.Handle(), nullptr, p.Int());
        PropertyValueObject_ValueVector(p.Handle(), nullptr);
        PropertyValueObject_ValueTextList(p.Handle(), nullptr, p.Int());
        PropertyValueObject_UnitsOfMeasure(p.Handle(), nullptr, nullptr, p.Int());
        break;
    }
    case 40: {
        int list = -1;
        const int count =
            CompoundProperties_GetAllUnaryPropertyValues_Vanta(p.Text(w.aliases), p.Text(w.banks), p.Int(), &list);
        w.Keep(list);
        for (int position = 0; position <= std::min(count, 64); ++position) {
            Buffer name(MORU_MAX_PROPERTY_NAME_BYTES + 1);
            std::vector<double> values(MORU_MAX_UNARY_ELEMENTS);
            int valueSize = 0;
            if (CompoundProperties_GetNextUnaryPropertyValue(list, position, name.get(), &valueSize, values.data()) ==
                    1 &&
                (valueSize < 0 || valueSize > MORU_MAX_UNARY_ELEMENTS))
                Fault("a unary value with more elements than the host's array");
        }
        break;
    }
    case 41: {
        Buffer name(MORU_MAX_PROPERTY_NAME_BYTES + 1);
        std::vector<double> values(MORU_MAX_UNARY_ELEMENTS);
        int valueSize = 0;
        CompoundProperties_GetNextUnaryPropertyValue(p.Handle(), p.Int(), p.Flag() ? name.get() : nullptr, &valueSize,
                                                     values.data());
        break;
    }
    case 42: {
        const int length = p.Flag() ? p.Byte() % 72 : p.Int();
        std::vector<double> values(static_cast<std::size_t>(std::clamp(length, 1, 100000)));
        int success = -1;
        GetPropertyValueFromDbank(p.Text(w.aliases), p.Text(w.banks), p.Text(w.idTypes), p.Text(w.texts),
                                  p.Text(w.properties), p.Flag() ? 3 : p.Int(), values.data(),
                                  std::min(length, static_cast<int>(values.size())), p.Int(), &success);
        break;
    }
    case 43: {
        Buffer structure(4097);
        GetMolecularStructureString(p.Text(w.aliases), p.Text(w.texts), p.Text(w.idTypes), p.Int(),
                                    p.Flag() ? structure.get() : nullptr);
        break;
    }
    case 44: {
        Control control{{&kControlMethods}, 1};
        PushDataToMoleStructControl(p.Text(w.aliases), p.Text(w.texts), p.Text(w.idTypes), p.Int(),
                                    p.Flag() ? &control.dispatch : nullptr);
        if (control.references != 1) Fault("the structure control's references are not balanced");
        break;
    }
    case 45: {
        int condensed = p.Int(), set = -1;
        InteractionParameters_GetBinaryIp(p.Text(w.aliases), p.Text(w.banks), p.Text(w.properties), p.Text(w.texts),
                                          p.Text(w.texts), p.Text(w.idTypes), p.Flag() ? &condensed : nullptr, &set);
        w.Keep(set);
        break;
    }
    case 46: {
        const int handle = p.Handle();
        const int elements = InteractionParameterValueObject_NumberOfElements(handle);
        if (elements < 0 || elements > 100000) break;
        std::vector<double> parameters(static_cast<std::size_t>(std::max(elements, 1)));
        InteractionParameterValueObject_Parameters(handle, elements > 0 || p.Flag() ? parameters.data() : nullptr);
        break;
    }
    case 47: {
        int interaction = p.Flag() ? 1 : (p.Flag() ? 3 : p.Int()), condensed = p.Byte() % 4, result = -1;
        BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(p.List(w.texts), p.Text(w.idTypes), p.List(w.banks),
                                                                    p.List(w.properties), &interaction, &condensed,
                                                                    &result);
        w.Keep(result);
        break;
    }
    case 48: {
        // "Room for the longest array": a host cannot know it, so it gives generous room.
        const int handle = p.Handle();
        const bool vanta = p.Flag();
        BinaryPropertyValueObjects_NumberOfElements(handle);
        for (int n = 0; n < 64; ++n) {
            int c1, c2, c3, c4, bank, property, size, regression;
            std::vector<double> values(2 * MORU_MAX_UNARY_ELEMENTS);
            const int result =
                vanta ? BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(handle, &c1, &c2, &c3, &c4, &bank,
                                                                                    &property, &size, values.data())
                      : BinaryPropertyValueObjects_GetNextPropertyValueObject(
                            handle, &c1, &c2, &c3, &c4, &bank, &property, &size, &regression, values.data());
            if (result != 1) break;
        }
        break;
    }
    case 49: {
        int info = -1;
        BinaryPropertyValueObjects_GetRegInfoObject(p.Text(w.banks), p.Text(w.properties), p.Text(w.texts),
                                                    p.Text(w.texts), p.Text(w.idTypes), &info);
        w.Keep(info);
        break;
    }
    case 50: {
        const int stdSize = p.BufferSize(), deviationSize = p.BufferSize(), citationSize = p.BufferSize();
        Buffers fields(14, stdSize);
        Buffer deviations(deviationSize), citations(citationSize), basis(stdSize);
        auto& f = fields.pointers;
        int kind = -1;
        BinaryPropertyValueObjects_GetRegInfoObjectDetails(
            p.Handle(), &kind, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12],
            deviations.get(), citations.get(), basis.get(), stdSize, deviationSize, citationSize);
        break;
    }
    case 51:
        Optimized_InitializeAllLists(p.List(w.banks), p.List(w.texts), p.List(w.properties));
        w.bulkElements = 0;
        break;
    case 52:
        Optimized_UnInitializeAllLists();
        w.bulkElements = 0;
        break;
    case 53: {
        int table = -1;
        Optimized_GetAllCompoundsIdentifiers(p.Flag() ? &table : nullptr);
        w.Keep(table);
        break;
    }
    case 54: {
        const int handle = p.Handle();
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            Buffer db(20), name(256), alias(256), cas(256);
            int compoundPosition, index;
            double compoundClass, kelda, plx;
            if (Optimized_GetNextCompoundIdentifier(handle, position, &compoundPosition, db.get(), &index, name.get(),
                                                    alias.get(), cas.get(), &compoundClass, &kelda, &plx) == -1)
                break;
        }
        break;
    }
    case 55: {
        int table = -1;
        Optimized_GetAllProperties(&table);
        w.Keep(table);
        LearnBulkProperties(w, table);
        break;
    }
    case 56: {
        int propertyPosition, elements;
        Optimized_GetNextProperty(p.Handle(), p.Int(), &propertyPosition, &elements);
        break;
    }
    case 57: {
        int values = -1;
        Optimized_GetAllScalarPropertyValues(&values);
        w.Keep(values);
        break;
    }
    case 58: {
        int values = -1;
        Optimized_GetAllVectorPropertyValues(&values);
        w.Keep(values);
        break;
    }
    case 59: {
        const int handle = p.Handle();
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            int bank, compound, property;
            double value;
            if (Optimized_GetNextScalarPropertyValue(handle, position, &bank, &compound, &property, &value) == -1)
                break;
        }
        break;
    }
    case 60: {
        // Room for the element count of the current load's properties, as a host sizes it.
        const int handle = p.Handle();
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            int size, bank, compound, property;
            std::vector<double> values(static_cast<std::size_t>(std::max(w.bulkElements, 1)));
            if (Optimized_GetNextVectorPropertyValue(handle, position, &size, &bank, &compound, &property,
                                                     values.data()) == -1)
                break;
        }
        break;
    }
    case 61: {
        int values = -1;
        Optimized_GetAllBinaryPropertyValues(&values);
        w.Keep(values);
        break;
    }
    case 62: {
        const int handle = p.Handle();
        const bool withFlag = p.Flag();
        int condensed = p.Byte() % 3;
        for (int position = p.Int(), n = 0; n < 64; ++position, ++n) {
            int size, bank, c1, c2, property;
            std::vector<double> values(static_cast<std::size_t>(2 * std::max(w.bulkElements, 1)));
            const int result = withFlag
                                   ? Optimized_GetNextBinaryPropertyValueWithCondensedFlag(
                                         handle, position, &size, &bank, &c1, &c2, &property, values.data(), &condensed)
                                   : Optimized_GetNextBinaryPropertyValue(handle, position, &size, &bank, &c1, &c2,
                                                                          &property, values.data());
            if (result == -1) break;
        }
        break;
    }
    case 63: CompoundCollection_ReleaseHandle(p.Handle()); break;
    case 64: CompoundCollectionEnum_ReleaseHandle(p.Handle()); break;
    case 65: PropertyValueCollectionEnum_ReleaseHandle(p.Handle()); break;
    case 66: PropertyValueObject_ReleaseHandle(p.Handle()); break;
    case 67: CompoundProperties_ReleaseHandle(p.Handle()); break;
    case 68: Databank_ReleaseHandle(p.Handle()); break;
    case 69: FoundCompounds_ReleaseHandle(p.Handle()); break;
    case 70: GetAllCompounds_ReleaseHandle(p.Handle()); break;
    case 71: BinaryPropertyValueObjects_ReleaseHandle(p.Handle()); break;
    case 72: InteractionParameterValueObject_ReleaseHandle(p.Handle()); break;
    case 73: Optimized_ReleaseHandle(p.Handle()); break;
    case 74: Reactions_ReleaseHandle(p.Handle()); break;
    case 75: WriteScript(p, w); break;
    case 76:
        g_selectedLimit = p.Byte() == 255 ? MORU_MAX_SELECTED_DATABANKS + 10 : p.Byte() % 4;
        LaunchFindDialog(p.Flag() ? &OnAddCompound : nullptr, p.Flag() ? &OnSelected : nullptr,
                         p.Flag() ? &OnSetDatabanks : nullptr, p.Int(), p.Text(w.texts));
        break;
    case 77:
        g_selectedLimit = p.Byte() % 4;
        LaunchFindDialogWithWindowName(p.Flag() ? &OnAddCompoundFull : nullptr, p.Flag() ? &OnSelected : nullptr,
                                       p.Flag() ? &OnSetDatabanks : nullptr, p.Int(), p.Text(w.texts), p.Text(w.texts),
                                       p.Text(w.texts));
        break;
    case 78:
        g_selectedLimit = p.Byte() % 4;
        LaunchFindDialogWithKELDA(p.Flag() ? &OnAddCompoundFull : nullptr, p.Flag() ? &OnSelected : nullptr,
                                  p.Flag() ? &OnSetDatabanks : nullptr, p.Int(), p.Text(w.texts), p.Text(w.texts),
                                  p.Text(w.texts), p.Flag() ? &OnHelpId : nullptr);
        break;
    case 79: InitializeTDEdialog(p.Text(w.texts)); break;
    case 80: InitializeTDEdialogMix(p.Text(w.texts), p.Text(w.texts)); break;
    case 81: {
        const int values = p.Byte() % 5, exp = p.Int() % 6, eval = p.Int() % 6, calc = p.Int() % 6;
        auto numbers = [](int n) { return std::vector<double>(static_cast<std::size_t>(std::max(n, 1)), 2.5); };
        auto statuses = [](int n) { return std::vector<int>(static_cast<std::size_t>(std::max(n, 1)), 1); };
        auto citations = [](int n) { return std::vector<const char*>(static_cast<std::size_t>(std::max(n, 1)), "c"); };
        auto v = numbers(values), e = numbers(exp), ev = numbers(eval), c = numbers(calc);
        auto es = statuses(exp), evs = statuses(eval);
        auto ec = citations(exp), evc = citations(eval), units = citations(values);
        const bool given = p.Flag();
        PushPropertyValue_GetPropNameValue(
            p.Text(w.properties), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Int(), p.Text(w.texts),
            p.Text(w.texts), p.Text(w.texts), values, p.Flag() ? v.data() : nullptr, 0.1, exp,
            given ? e.data() : nullptr, e.data(), e.data(), e.data(), es.data(), ec.data(), eval, ev.data(),
            given ? ev.data() : nullptr, ev.data(), ev.data(), evs.data(), evc.data(), calc, c.data(), c.data(),
            given ? c.data() : nullptr, values > 1 ? units.data() : nullptr, p.Text(w.texts), p.Text(w.texts));
        break;
    }
    case 82: {
        const int points = p.Int() % 6;
        std::vector<double> v(static_cast<std::size_t>(std::max(points, 1)), 1.0);
        std::vector<int> accepted(v.size(), 1);
        const bool given = p.Flag();
        PushMixPropertyValue_GetMixPropNameValue(p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts),
                                                 points, v.data(), given ? v.data() : nullptr, v.data(), v.data(),
                                                 v.data(), v.data(), v.data(), v.data(), accepted.data(), p.Int(),
                                                 p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts),
                                                 p.Text(w.texts), p.Text(w.texts), p.Flag());
        break;
    }
    case 83:
        LaunchNISTTab(p.Flag() ? &OnNist : nullptr, p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts),
                      p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts));
        break;
    case 84:
        LaunchNISTMixTab(p.Flag() ? &OnNist : nullptr, p.Text(w.texts), p.Text(w.texts), p.Text(w.texts),
                         p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts), p.Text(w.texts));
        break;
    case 85: PushCitation(p.Text(w.texts), p.Text(w.texts), p.Text(w.texts)); break;
    case 86: {
        const int points = p.Int() % 8;
        std::vector<double> x(static_cast<std::size_t>(std::max(points, 1))), y(x.size());
        PushReevalBack(points, p.Flag() ? x.data() : nullptr, p.Flag() ? y.data() : nullptr);
        break;
    }
    case 87: {
        const int fitting = p.Flag() ? 2000 : p.Int(), points = p.Int() % 8;
        const std::size_t room = points > 0 ? static_cast<std::size_t>(points) : 10;
        std::vector<double> value(points > 0 ? room : 6), x1(room), temperature(room), pressure(room);
        PushFittingBack(fitting, p.Text(w.texts), points, p.Flag() ? value.data() : nullptr,
                        p.Flag() ? x1.data() : nullptr, points > 0 ? temperature.data() : nullptr,
                        points > 0 ? pressure.data() : nullptr);
        break;
    }
    case 88: {
        std::vector<double> t1(6), t2(8), t3(2), t4(7);
        PushConsistencyTestBack(p.Text(w.texts), 0.5, p.Flag() ? t1.data() : nullptr, p.Flag() ? t2.data() : nullptr,
                                p.Flag() ? t3.data() : nullptr, p.Flag() ? t4.data() : nullptr);
        break;
    }
    case 89: PushDRSDefaultPropertyBack(p.Text(w.properties)); break;
    case 90: TEDResultFormResize(p.Int(), p.Int()); break;
    case 91: ForceClose(); break;
    default: {
        // Releases through any release function, of whatever kind.
        const int handle = p.Handle();
        CompoundCollection_ReleaseHandle(handle);
        auto& handles = w.handles;
        handles.erase(std::remove(handles.begin(), handles.end(), handle), handles.end());
        break;
    }
    }
    p.EndCall();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/moru-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) Fault("cannot make a directory for the run");
    g_files.directory = pattern;
    for (int slot = 0; slot < 2; ++slot) {
        g_files.database[slot] = g_files.directory / ("db" + std::to_string(slot) + ".db");
        g_files.config[slot] = g_files.directory / ("config" + std::to_string(slot) + ".json");
        WriteFile(g_files.config[slot],
                  "{\"databases\": [{\"alias\": \"FUZZ\", \"path\": \"" + g_files.database[slot].filename().string() +
                      "\"}, {\"alias\": \"SECOND\", \"path\": \"" + g_files.database[slot].filename().string() +
                      "\", \"password\": \"pw\"}]}\n");
    }
    g_files.script = g_files.directory / "dialog.script";
    WriteFile(g_files.script, "search\npick 1\nadd\nselect\nhelp\n");
    setenv("MORU_DIALOG_SCRIPT", g_files.script.c_str(), 1);
    // The default configuration file that CreateDBConfigFile writes, inside the run's directory.
    setenv("MORU_CONFIG_FILE", (g_files.directory / "default" / "databases.json").c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(g_files.directory, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return -1;
    const std::size_t programLength = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const std::uint8_t* program = data + 2;
    const std::string database(reinterpret_cast<const char*>(program + programLength), size - 2 - programLength);

    // Two files in turn, so that a file is never rewritten while the previous run still has it open.
    static int run = 0;
    const int slot = run++ % 2;
    std::error_code ignored;
    for (const char* beside : {"-wal", "-shm", "-journal"})
        fs::remove(g_files.database[slot].string() + beside, ignored);
    WriteFile(g_files.database[slot], database);
    fs::remove_all(g_files.directory / "default", ignored);

    World world;
    g_world = &world;
    Connect(world, slot);
    Program calls(program, programLength);
    while (calls.More()) Call(calls, world, slot);

    for (int handle : world.handles) Reactions_ReleaseHandle(handle);
    Optimized_UnInitializeAllLists();
    g_world = nullptr;

    if (ReadFile(g_files.database[slot]) != database) Fault("the database file was changed");
    for (const char* beside : {"-wal", "-shm", "-journal"})
        if (fs::exists(g_files.database[slot].string() + beside))
            Fault(std::string("a file ") + beside + " beside the database");
    return 0;
}
