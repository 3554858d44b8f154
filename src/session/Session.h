#pragma once

// The process-wide session: the connection to the property database service, the catalogue of
// databanks that the host has been shown, and the host's session settings.

#include "platform/ProcessState.h"
#include "service/Database.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace moru::session {

class MoruGUIDataFunctions {
public:
    // The single session, a part of the process state: made at first use, ended with the
    // library's unload after the results and lists that may hold its databases.
    static constexpr platform::Teardown kTeardown = platform::Teardown::Session;
    static MoruGUIDataFunctions& Instance() { return platform::ProcessState::Part<MoruGUIDataFunctions>(); }
    // Ends the session; the next use makes a new one over the service then installed. For tests
    // only: hosts never see a session end.
    static void ResetInstanceForTesting() { platform::ProcessState::Drop<MoruGUIDataFunctions>(); }

    // Made by the process state only.
    MoruGUIDataFunctions();

    service::IDatabaseCollection& Databases() const { return *m_pDbaseCollection; }
    service::DatabankCollection& Catalogue() const { return *m_pDbankCollection; }
    service::IConfigFileInstaller& ConfigInstaller() const { return *m_pcfi; }

    void SetDatabankFlag(bool databankTab) { m_bDatabankTab = databankTab; }
    bool GetDatabankTabFlag() const { return m_bDatabankTab; }

    // The first entry of the catalogue named `databankName` in database `databaseAlias` (both
    // without regard to letter case) whose database the latest initialisation connected; null if
    // none. One lookup in an index of the live entries, however many initialisations the catalogue
    // remembers.
    service::DatabankPtr FindLiveDatabank(std::string_view databaseAlias, std::string_view databankName);
    // The databank that FindLiveDatabank found for a reference in just this spelling since the
    // catalogue or the databases last changed; null if none. A host names its databanks the same
    // way call after call, and so finds them without folding or splitting their names again.
    service::DatabankPtr FindLiveDatabankAsSpelled(std::string_view reference);
    void RememberSpelling(std::string_view reference, const service::DatabankPtr& databank);

    // The host's pure databank selection; null until the host sets one.
    const service::DatabankCollectionPtr& AvailablePureDatabanks() const { return m_AvailablePureDbanks; }
    void SetAvailablePureDatabanks(service::DatabankCollectionPtr selection)
    {
        m_AvailablePureDbanks = std::move(selection);
    }

private:
    service::DatabankCollectionPtr m_pDbankCollection;
    std::shared_ptr<service::IDatabaseCollection> m_pDbaseCollection;
    std::shared_ptr<service::IConfigFileInstaller> m_pcfi;
    bool m_bDatabankTab = true;
    service::DatabankCollectionPtr m_AvailablePureDbanks;

    // The live entries of the catalogue by folded alias and name, as they stood when the catalogue
    // had `m_indexedCount` entries and these databases were connected.
    std::unordered_map<std::string, service::DatabankPtr> m_liveIndex;
    int m_indexedCount = -1;
    std::uint64_t m_indexedRevision = 0;
    std::vector<const service::IDatabase*> m_indexedDatabases;
    std::string m_lookupKey;
    // Entries of the live index by a reference's spelling, as found; emptied with the index.
    struct SpellingHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, service::DatabankPtr, SpellingHash, std::equal_to<>> m_spellings;

    bool LiveIndexIsCurrent() const;
    void MakeLiveIndexCurrent();
};

} // namespace moru::session
