target_sources(tavoren_core PRIVATE
  tasks/CalculationEvaluator.h tasks/CalculationEvaluator.cpp
  tasks/ClimbingView.h tasks/ClimbingView.cpp
  tasks/MathCalculationsView.h tasks/MathCalculationsView.cpp
  tasks/QuestionnaireView.h tasks/QuestionnaireView.cpp
  tasks/TaskFile.h tasks/TaskFile.cpp
  tasks/WriteNoteView.h tasks/WriteNoteView.cpp)
