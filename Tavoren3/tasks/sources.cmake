target_sources(tavoren_core PRIVATE
  tasks/CalculationEvaluator.h tasks/CalculationEvaluator.cpp
  tasks/TaskFile.h tasks/TaskFile.cpp)
