#pragma once
// The controls and menu commands that code outside the windows' procedures drives by name
// (the batch takes a user's steps through them), named once here beside the definitions that
// create them. tests/forms checks each against its window's definition.

namespace forms {

struct ControlName {
  const char* form;
  const char* control;
};

// "Peak setting"
inline constexpr ControlName kFittingButton{"FORM2", "BUTTON1"};
inline constexpr ControlName kOpenButton{"FORM2", "BUTTON3"};
inline constexpr ControlName kSaveButton{"FORM2", "BUTTON22"};
inline constexpr ControlName kLoadButton{"FORM2", "BUTTON23"};
inline constexpr ControlName kExportImageButton{"FORM2", "BUTTON24"};
inline constexpr ControlName kExportTextButton{"FORM2", "BUTTON28"};

// "Raw spectrum"
inline constexpr ControlName kRawWindowFrom{"FORM5", "EDIT1"};
inline constexpr ControlName kRawWindowTo{"FORM5", "EDIT2"};
inline constexpr ControlName kRawEndPoints{"FORM5", "EDIT3"};
inline constexpr ControlName kRawShirleyBox{"FORM5", "CHECK1"};
inline constexpr ControlName kRawOpenButton{"FORM5", "BUTTON1"};
inline constexpr ControlName kRawTougaardBox{"FORM5", "CHECK2"};
inline constexpr ControlName kRawTougaardB{"FORM5", "EDIT5"};
inline constexpr ControlName kRawKernelC{"FORM5", "EDIT6"};
inline constexpr ControlName kRawKernelCPrime{"FORM5", "EDIT7"};
inline constexpr ControlName kRawKernelD{"FORM5", "EDIT8"};
inline constexpr ControlName kRawLowOffset{"FORM5", "EDIT9"};
inline constexpr ControlName kRawHighOffset{"FORM5", "EDIT10"};
inline constexpr ControlName kRawExcitation{"FORM5", "EDIT11"};

// The main window's menu commands.
inline constexpr const char* kOpenFileItem = "openfile";
inline constexpr const char* kOpenRawItem = "openraw";
inline constexpr const char* kSaveGraphicsItem = "saveasgraphics";
inline constexpr const char* kSaveTextItem = "saveastext";
inline constexpr const char* kExitItem = "exit";
inline constexpr const char* kRefineItem = "refine";
inline constexpr const char* kSaveReportItem = "savereport";
inline constexpr const char* kSaveFigureItem = "savefigure";
inline constexpr const char* kWeightCountsItem = "weightcounts";

}  // namespace forms
