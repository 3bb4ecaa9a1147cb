#pragma once
// Names, availability and fields of the processing kinds.
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ProcessStep.h"
#include "core/processing/AnalysisDomain.h"

namespace sondara {

// The name of a kind in the processing history list ("数字滤波", "前置零", ...;
// "<不一致>" for code 0, the entry that differs between points). Empty for a code
// that has no name (such a step is not listed).
std::string_view HistoryName(int kind);

// The short name of the command that applies a kind ("前清零" for FrontZero); empty
// for DynamicScale, code 0 and unknown codes, which no command creates.
std::string_view CommandName(int kind);

// The enumerator name ("Filter", "SimpleIntegrate"); empty for unknown codes.
std::string_view KindEnumeratorName(int kind);

// Parses an enumerator name (case-insensitive) or a numeric code of a known kind
// (codes 1-13, 15, 16, 26). False for anything else.
bool ParseKind(std::string_view text, ProcessKind& kind);

// Whether a kind may be applied, edited or inserted in the given analysis domain.
// Filter, Amplify, RemoveDc, Smooth, Integrate, Differentiate and SimpleIntegrate work
// everywhere; Rotate, LinearZero, NonlinearZero, FrontZero, BackZero, LocalScale,
// Shift and Reverse only in Integrity and in TimeAnalysis while it shows the average
// of several traces. Other codes have no command and are never available.
bool KindAvailable(ProcessKind kind, AnalysisDomain domain, bool timeAnalysisShowsAverage);

// False for the kinds that take no parameters and so open no dialog (Integrate,
// Differentiate, Reverse, SimpleIntegrate).
bool KindHasParameters(ProcessKind kind);

// The step fields a kind reads (their record names, e.g. "filterType"); empty for
// kinds without parameters.
const std::vector<std::string_view>& KindFields(ProcessKind kind);

// Every named parameter field of the record ("filterType" ... "shiftEnd").
const std::vector<std::string_view>& AllStepFields();

// Sets the field `name` of `step` from text: a whole number for int32 fields, a
// number for float32 fields. False with `error` set (English) for an unknown field or
// a bad value.
bool SetStepField(ProcessStep& step, std::string_view name, std::string_view value,
                  std::string* error = nullptr);
// The field's value as text ("%d" or "%.9g"); empty for an unknown field.
std::string StepFieldText(const ProcessStep& step, std::string_view name);

}  // namespace sondara
