#include "MoruIntegration.h"

#include "api/Contain.h"
#include "dialogs/TdeStaging.h"
#include "interop/HostArrays.h"
#include "interop/HostText.h"
#include "platform/Diagnostics.h"

using namespace moru;
using interop::FromHost;
using interop::ReadHostNumbers;
using interop::ReadHostTexts;
using interop::ReadHostWholeNumbers;

MORU_API bool MORU_CALL InitializeTDEdialog(const char* compName)
{
    return api::Contain(MORU_ARGUMENTS(compName), false,
                        [&] { return dialogs::SetTDECompoundName(interop::FromHostOptional(compName)); });
}

MORU_API bool MORU_CALL InitializeTDEdialogMix(const char* compName, const char* compName2)
{
    return api::Contain(MORU_ARGUMENTS(compName, compName2), false, [&] {
        return dialogs::SetTDEMixCompoundName(interop::FromHostOptional(compName),
                                              interop::FromHostOptional(compName2));
    });
}

MORU_API bool MORU_CALL PushPropertyValue_GetPropNameValue(
    const char* propName, const char* modelName, const char* desProp, const char* desPara, int propVariables,
    const char* var1Name, const char* var2Name, const char* propUnit, int propNum, const double* propValues,
    double propUncertainty, int expNum, const double* expValues, const double* expValues1, const double* expValues2,
    const double* expUncertainty, const int* expStatus, const char** expCitation, int evalNum, const double* evalValues,
    const double* evalValues1, const double* evalValues2, const double* evalUncertainty, const int* evalStatus,
    const char** evalCitation, int calcNum, const double* calcValues, const double* calcValues1,
    const double* calcValues2, const char** elemUnit, const char* DipFamily, const char* DipSubgrp)
{
    return api::Contain(MORU_ARGUMENTS(propName, modelName, desProp, desPara, propVariables, var1Name, var2Name,
                                       propUnit, propNum, propValues, propUncertainty, expNum, expValues, expValues1,
                                       expValues2, expUncertainty, expStatus, expCitation, evalNum, evalValues,
                                       evalValues1, evalValues2, evalUncertainty, evalStatus, evalCitation, calcNum,
                                       calcValues, calcValues1, calcValues2, elemUnit, DipFamily, DipSubgrp),
                        false, [&] {
                            if (!propName || propVariables == 0 || propNum == 0 || !propValues) {
                                platform::NoteFailure(
                                    "a property record needs its name, its variables, and its values with their count");
                                return false;
                            }
                            service::MoruNISTPropValue record;
                            record.propName = FromHost(propName);
                            record.modelName = FromHost(modelName);
                            record.desProp = FromHost(desProp);
                            record.desPara = FromHost(desPara);
                            record.propVariables = propVariables;
                            record.var1Name = FromHost(var1Name);
                            record.var2Name = FromHost(var2Name);
                            record.propUnit = FromHost(propUnit);
                            record.propNum = propNum;
                            record.propValues = ReadHostNumbers(propValues, propNum).value_or(std::vector<double>());
                            record.propUncertainty = propUncertainty;
                            record.expNum = expNum;
                            record.expValues = ReadHostNumbers(expValues, expNum);
                            record.expValues1 = ReadHostNumbers(expValues1, expNum);
                            record.expValues2 = ReadHostNumbers(expValues2, expNum);
                            record.expUncertainty = ReadHostNumbers(expUncertainty, expNum);
                            record.expStatus = ReadHostWholeNumbers(expStatus, expNum);
                            record.expCitation = ReadHostTexts(expCitation, expNum);
                            record.evalNum = evalNum;
                            record.evalValues = ReadHostNumbers(evalValues, evalNum);
                            record.evalValues1 = ReadHostNumbers(evalValues1, evalNum);
                            record.evalValues2 = ReadHostNumbers(evalValues2, evalNum);
                            record.evalUncertainty = ReadHostNumbers(evalUncertainty, evalNum);
                            record.evalStatus = ReadHostWholeNumbers(evalStatus, evalNum);
                            record.evalCitation = ReadHostTexts(evalCitation, evalNum);
                            record.calcNum = calcNum;
                            record.calcValues = ReadHostNumbers(calcValues, calcNum);
                            record.calcValues1 = ReadHostNumbers(calcValues1, calcNum);
                            record.calcValues2 = ReadHostNumbers(calcValues2, calcNum);
                            // One unit per element: a single-element property has no unit list.
                            if (propNum > 1) record.elemUnit = ReadHostTexts(elemUnit, propNum);
                            record.DipFamily = FromHost(DipFamily);
                            record.DipSubgrp = FromHost(DipSubgrp);
                            return dialogs::PushPropertyValue(std::move(record));
                        });
}

MORU_API bool MORU_CALL PushMixPropertyValue_GetMixPropNameValue(
    const char* desProp, const char* PropNameIdx, const char* PhaseVarIdx, const char* authorIdx, int expNumMix,
    const double* expValues, const double* expX1, const double* expTemp, const double* expPres, const double* expUncer,
    const double* unc_x1, const double* unc_T, const double* unc_P, const int* expAcc, int nVar,
    const char* TheCitation, const char* propUnit, const char* Datayear, const char* DataTrange, const char* DataPrange,
    const char* desPropShort, bool IsFromDataSetForm)
{
    return api::Contain(MORU_ARGUMENTS(desProp, PropNameIdx, PhaseVarIdx, authorIdx, expNumMix, expValues, expX1,
                                       expTemp, expPres, expUncer, unc_x1, unc_T, unc_P, expAcc, nVar, TheCitation,
                                       propUnit, Datayear, DataTrange, DataPrange, desPropShort, IsFromDataSetForm),
                        false, [&] {
                            service::MoruNISTMixPropValue record;
                            record.desProp = FromHost(desProp);
                            record.PropNameIdx = FromHost(PropNameIdx);
                            record.PhaseVarIdx = FromHost(PhaseVarIdx);
                            record.authorIdx = FromHost(authorIdx);
                            record.expNumMix = expNumMix;
                            record.expValues = ReadHostNumbers(expValues, expNumMix);
                            record.expX1 = ReadHostNumbers(expX1, expNumMix);
                            record.expTemp = ReadHostNumbers(expTemp, expNumMix);
                            record.expPres = ReadHostNumbers(expPres, expNumMix);
                            record.expUncer = ReadHostNumbers(expUncer, expNumMix);
                            record.unc_x1 = ReadHostNumbers(unc_x1, expNumMix);
                            record.unc_T = ReadHostNumbers(unc_T, expNumMix);
                            record.unc_P = ReadHostNumbers(unc_P, expNumMix);
                            record.expAcc = ReadHostWholeNumbers(expAcc, expNumMix);
                            record.nVar = nVar;
                            record.TheCitation = FromHost(TheCitation);
                            record.propUnit = FromHost(propUnit);
                            record.Datayear = FromHost(Datayear);
                            record.DataTrange = FromHost(DataTrange);
                            record.DataPrange = FromHost(DataPrange);
                            record.desPropShort = FromHost(desPropShort);
                            record.IsFromDataSetForm = IsFromDataSetForm;
                            return dialogs::PushMixPropertyValue(std::move(record));
                        });
}
