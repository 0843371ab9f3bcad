#include "exercise/exerciseState.h"

TExerciseState ExerciseState;
