#include "app_state.h"

AppState appState = kAppStateAtStart;
