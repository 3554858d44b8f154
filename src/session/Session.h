#pragma once

// The process-wide session: the connection to the property database service, the catalogue of
// databanks that the host has been shown, the host's session settings and the bulk tables.

#include "service/Database.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace moru::session {

using namespace moru::service;

class IEngineCompound;
struct GatewayCompoundMap;

class MoruGUIDataFunctions {
public:
    // The single session, created at first use and kept until the process ends.
    static MoruGUIDataFunctions& Instance();
    // Replaces the session by a new one over the currently installed service. For tests only:
    // hosts never see a session end.
    static void ResetInstanceForTesting();

    IDatabaseCollection& Databases() const { return *m_pDbaseCollection; }
    DatabankCollection& Catalogue() const { return *m_pDbankCollection; }
    IConfigFileInstaller& ConfigInstaller() const { return *m_pcfi; }

    // Bulk retrieval tables, returned themselves, not copies.
    std::unordered_map<std::string, int>& GetCompoundHashtable() { return m_pCompoundTable; }
    std::unordered_map<std::string, int>& GetPropertyHashtable() { return m_pPropertyTable; }
    std::vector<std::pair<DatabankPtr, int>>& GetDbankHashtable() { return m_pDbankTable; }
    std::map<int, std::shared_ptr<IEngineCompound>>& GetEngineCompTable() { return m_pEngineCompTable; }
    std::map<DatabasePtr, std::shared_ptr<GatewayCompoundMap>>& GetGatewayCompTable() { return m_pGatewayCompTable; }
    std::map<int, PropertyPtr>& GetGatewayPropTable() { return m_pGatewayPropTable; }
    std::vector<DatabasePtr>& GetUniqueDatabases() { return m_pUniqueDatabases; }
    std::vector<std::vector<DatabankPtr>>& GetConsecutiveDbankSlots() { return m_pConsecutiveDbankSlots; }
    std::map<int, std::vector<int>>& GetDuplicateCompTable() { return m_pDuplicateCompTable; }
    int GetCompCount() const { return compCount; }
    void SetCompCount(int count) { compCount = count; }
    void SetKELIDXPresent(int present) { isKELIDXPresent = present; }
    bool GetKELIDXPresent() const { return isKELIDXPresent != 0; }
    void SetPLXIDXPresent(int present) { isPLXIDXPresent = present; }
    bool GetPLXIDXPresent() const { return isPLXIDXPresent != 0; }
    void SetDatabankFlag(bool databankTab) { m_bDatabankTab = databankTab; }
    bool GetDatabankTabFlag() const { return m_bDatabankTab; }

    // The host's pure databank selection; null until the host sets one.
    const DatabankCollectionPtr& AvailablePureDatabanks() const { return m_AvailablePureDbanks; }
    void SetAvailablePureDatabanks(DatabankCollectionPtr selection) { m_AvailablePureDbanks = std::move(selection); }

private:
    MoruGUIDataFunctions();

    // Never destroyed: objects behind handles may outlive everything else in the process.
    static MoruGUIDataFunctions* m_pMoruGuiDataFunctions;

    DatabankCollectionPtr m_pDbankCollection;
    std::shared_ptr<IDatabaseCollection> m_pDbaseCollection;
    std::shared_ptr<IConfigFileInstaller> m_pcfi;
    std::unordered_map<std::string, int> m_pCompoundTable;
    std::unordered_map<std::string, int> m_pPropertyTable;
    std::vector<std::pair<DatabankPtr, int>> m_pDbankTable;
    std::map<int, std::shared_ptr<IEngineCompound>> m_pEngineCompTable;
    std::map<DatabasePtr, std::shared_ptr<GatewayCompoundMap>> m_pGatewayCompTable;
    std::map<int, PropertyPtr> m_pGatewayPropTable;
    std::vector<DatabasePtr> m_pUniqueDatabases;
    std::vector<std::vector<DatabankPtr>> m_pConsecutiveDbankSlots;
    std::map<int, std::vector<int>> m_pDuplicateCompTable;
    int compCount = -1;
    bool m_bDatabankTab = true;
    DatabankCollectionPtr m_AvailablePureDbanks;
    int isKELIDXPresent = 0;
    int isPLXIDXPresent = 0;
};

} // namespace moru::session
