#pragma once

// The rows of the radio-wide settings windows, one table per list group, in the order the
// window shows them. Each row's name is the objectName of its list.

#include "settingsfield.h"

#include <QStringList>
#include <vector>

class Document;

// --- Optional features (FrmOptFeatures) ---
// Combo1(0..16): the radio-wide options of FuncRec.
const std::vector<SettingsField>& OptionFields();
// Combo2(j), j = 1, 2, 4..13: the public channel.
const std::vector<SettingsField>& PublicChannelFields();
// The power levels: texts 15044, 15045, and 15046 only with FM (amFm 0).
QStringList PowerListItems(int amFm);
// Text 15030, then the numbers of the usable tone tips.
QStringList RogerBeepItems(const Document& doc);
// Text 14013, then the numbers of the DTMF codes that are defined (Len above 0).
QStringList DtmfCodeItems(const Document& doc);

// The country plans of mode 0 (Combo3(0)), and the pair shown while "UK" is picked
// (Combo3(1)).
QStringList CountryPlanItems();
QStringList CountryPlanPairItems();
// What a variant of CountryPlanPairItems is ("UK: the UK 27/81 plan ..."), for its tooltip.
QString CountryPlanPairNote(int pair);
constexpr int PlanUK = 2; // "U" in CountryPlanItems: the UK, with its two plans as variants
// Where a WorkGroup of mode 0 shows in the two plan lists: *pair is -1 when the pair list
// stays hidden.
void PlanOfWorkGroup(int workGroup, int* plan, int* pair);
// The WorkGroup that a choice in the plan lists stands for (pair -1: the pair list is
// hidden). "EI" of the pair stands for group "U", the group that shows as "UK"/"EI".
int WorkGroupOfPlan(int plan, int pair);

// --- DTMF settings (FrmDTMF) ---
// Combo1(0..4): DtmfSet(1..5).
const std::vector<SettingsField>& DtmfSettingFields();

// --- Key functions (FrmKey) ---
// Combo2 (KeySet) first, then Combo1(0..17) for KeyFun(1..18).
const std::vector<SettingsField>& KeyFields();
QStringList KeyFunctionNames(); // "MOD" .. "NULL", codes 1..20
// What the function of a code does, in the current language (texts 25101 to 25120):
// "modulation AM/FM" for 1 ("MOD"); empty outside 1..20.
QString KeyFunctionMeaning(int code);
