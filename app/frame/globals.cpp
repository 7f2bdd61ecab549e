#include "app/frame/globals.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/frame/program.h"
#include "platform/types/decimal.h"

namespace app {

namespace {

template <std::uint32_t N>
struct Text {
  std::array<std::uint8_t, N> bytes{};
  platform::FieldRef ref() { return platform::FieldRef(platform::FieldType::String, bytes.data(), N); }
};

template <int Digits, int Places>
struct Packed {
  // All zero bytes are a packed zero.
  std::array<std::uint8_t, platform::packedSize(Digits)> bytes{};
  platform::FieldRef ref() {
    return platform::FieldRef(platform::FieldType::Decimal, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                              Digits, Places);
  }
};

Text<20> gCaseNumber, gPass;
Packed<7, 1> gA, gB, gC, gD, gE, gF, gG, gH, gI, gJ, gK, gL, gM;
Packed<11, 2> gN, gO, gMeals, gLodging, gCopying, gPostage, gTollCalls, gTelegrams, gOther;

std::unique_ptr<platform::IniMgr>& settings() {
  static std::unique_ptr<platform::IniMgr> manager;
  return manager;
}

}  // namespace

platform::FieldRef G_CASENUMBER() { return gCaseNumber.ref(); }
platform::FieldRef G_PASS() { return gPass.ref(); }
platform::FieldRef G_A() { return gA.ref(); }
platform::FieldRef G_B() { return gB.ref(); }
platform::FieldRef G_C() { return gC.ref(); }
platform::FieldRef G_D() { return gD.ref(); }
platform::FieldRef G_E() { return gE.ref(); }
platform::FieldRef G_F() { return gF.ref(); }
platform::FieldRef G_G() { return gG.ref(); }
platform::FieldRef G_H() { return gH.ref(); }
platform::FieldRef G_I() { return gI.ref(); }
platform::FieldRef G_J() { return gJ.ref(); }
platform::FieldRef G_K() { return gK.ref(); }
platform::FieldRef G_L() { return gL.ref(); }
platform::FieldRef G_M() { return gM.ref(); }
platform::FieldRef G_N() { return gN.ref(); }
platform::FieldRef G_O() { return gO.ref(); }
platform::FieldRef G_MEALS() { return gMeals.ref(); }
platform::FieldRef G_LODGING() { return gLodging.ref(); }
platform::FieldRef G_COPYING() { return gCopying.ref(); }
platform::FieldRef G_POSTAGE() { return gPostage.ref(); }
platform::FieldRef G_TOLLCALLS() { return gTollCalls.ref(); }
platform::FieldRef G_TELEGRAMS() { return gTelegrams.ref(); }
platform::FieldRef G_OTHER() { return gOther.ref(); }

std::int32_t FullDragWasOn = 0;

platform::IniMgr& SettingsManager() {
  if (!settings()) throw std::logic_error("the settings-file manager does not exist");
  return *settings();
}

bool settingsManagerExists() { return settings() != nullptr; }

void ProgramGlobalsSetup() {
  G_CASENUMBER().setText(std::string(20, ' '));
  G_PASS().setText(std::string(20, ' '));
  // Not bound to a file yet: ProgramBody opens it.
  settings() = std::make_unique<platform::IniMgr>();
}

void ProgramGlobalsShutdown() { settings().reset(); }

}  // namespace app
