#include "session/Session.h"

#include "service/Errors.h"
#include "service/Factory.h"

namespace moru::session {

MoruGUIDataFunctions* MoruGUIDataFunctions::m_pMoruGuiDataFunctions = nullptr;

MoruGUIDataFunctions::MoruGUIDataFunctions()
    : m_pDbankCollection(std::make_shared<DatabankCollection>()),
      m_pDbaseCollection(GetServiceFactory().CreateDatabaseCollection(m_pDbankCollection)),
      m_pcfi(GetServiceFactory().CreateConfigFileInstaller())
{
    if (!m_pDbaseCollection || !m_pcfi) throw ServiceError("the database service made no database collection");
}

MoruGUIDataFunctions& MoruGUIDataFunctions::Instance()
{
    // A failed creation leaves no session, so the next call tries again.
    if (!m_pMoruGuiDataFunctions) m_pMoruGuiDataFunctions = new MoruGUIDataFunctions();
    return *m_pMoruGuiDataFunctions;
}

void MoruGUIDataFunctions::ResetInstanceForTesting()
{
    delete m_pMoruGuiDataFunctions;
    m_pMoruGuiDataFunctions = nullptr;
}

} // namespace moru::session
