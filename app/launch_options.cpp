#include "app/launch_options.hpp"

LaunchOptions launchOptions;
