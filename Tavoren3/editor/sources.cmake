target_sources(tavoren_core PRIVATE
  editor/OptionalViewChoices.h editor/OptionalViewChoices.cpp
  editor/RunEditorViewModel.h editor/RunEditorViewModel.cpp
  editor/StepLabel.h editor/StepLabel.cpp
  editor/StepViewModel.h editor/StepViewModel.cpp
  editor/TestListRowViewModel.h editor/TestListRowViewModel.cpp)
