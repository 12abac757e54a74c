#pragma once
// The application's error location codes, registered like the run-time's
// (runtime/errors/error_locations.h): an enum of checks per operation, the operation numbers
// checked at compile time against each other and against the run-time's.

#include <array>
#include <cstdint>

#include "runtime/errors/error_locations.h"

namespace app {

// The application's operations, the high part of a code.
enum class Operation : std::uint32_t {
  WorkspaceArrays = 0x09,
  Fit = 0x14,
  Refine = 0x15,
  FitReport = 0x16,
  SettingsLoad = 0x17,
  FitView = 0x18,
  AnalysisFile = 0x19,
  Components = 0x1A,
  RawLoading = 0x2100,  // its checks: RawCheck in app/files/raw_errors.h
};

// The workspace's arrays and the peak table's slots.
enum class ArrayCheck : std::uint32_t { IndexOutOfRange = 1, TooManyPoints, SlotOutOfRange };
// "FITTING".
enum class FitCheck : std::uint32_t { GridStuck = 1, SkipNotUsable, LongSpectrum };
// "Refine (least squares)": the tables it refuses and the solves it does not keep.
enum class RefineCheck : std::uint32_t {
  NoSpectrum = 1,
  SkipNotUsable,
  NoPeak,
  NothingFree,
  TooFewPoints,
  LockedZeroWidth,
  NoSpread,
  TableChanged,
  SolverFailed,
  EndedWorse,
  NoMeasuredValues,
  NegativeMeasured,
  NoBackgroundToFit,
  SolverMissing,
};
// The fit report: asked for before any fit.
enum class FitReportCheck : std::uint32_t { NoFitToSave = 1, NoFitForDialog };
// "Load": a file that is not a settings file.
enum class SettingsCheck : std::uint32_t {
  TooShort = 1,
  NotOneItemPerLine,
  BadCheckState,
  NotANumber,
  TooLarge
};

// The fit view's figure: asked for with no spectrum to draw.
enum class FitViewCheck : std::uint32_t { NoSpectrum = 1 };

// "Save analysis..." and "Open analysis...": a document refused before anything changes, and
// a session whose spectrum's file is not known.
enum class AnalysisCheck : std::uint32_t {
  NotKept = 1,
  TooLarge,
  Damaged,
  LaterVersion,
  BadValue,
  SpectrumChanged,
  NoSource,
};

// The "Components" window: a constraint cell's text refused when typed, a doublet refused.
enum class ComponentCheck : std::uint32_t { RuleRefused = 1, DoubletRefused };

constexpr Operation operation_of(ArrayCheck) { return Operation::WorkspaceArrays; }
constexpr Operation operation_of(FitCheck) { return Operation::Fit; }
constexpr Operation operation_of(RefineCheck) { return Operation::Refine; }
constexpr Operation operation_of(FitReportCheck) { return Operation::FitReport; }
constexpr Operation operation_of(SettingsCheck) { return Operation::SettingsLoad; }
constexpr Operation operation_of(FitViewCheck) { return Operation::FitView; }
constexpr Operation operation_of(AnalysisCheck) { return Operation::AnalysisFile; }
constexpr Operation operation_of(ComponentCheck) { return Operation::Components; }

template <class Check>
constexpr rt::LocationCode location(Check check) {
  return static_cast<std::uint32_t>(operation_of(check)) << 8 | static_cast<std::uint32_t>(check);
}

static_assert(
    rt::all_distinct([] {
      constexpr Operation named[] = {
          Operation::WorkspaceArrays, Operation::Fit,          Operation::Refine,
          Operation::FitReport,       Operation::SettingsLoad, Operation::FitView,
          Operation::RawLoading,      Operation::AnalysisFile, Operation::Components};
      std::array<std::uint32_t, rt::kRuntimeOperationNumbers.size() + std::size(named)> all{};
      std::size_t n = 0;
      for (std::uint32_t number : rt::kRuntimeOperationNumbers) all[n++] = number;
      for (Operation op : named) all[n++] = static_cast<std::uint32_t>(op);
      return all;
    }()),
    "an application operation shares its location number with another operation");

}  // namespace app
