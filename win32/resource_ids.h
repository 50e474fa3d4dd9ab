/* Resource identifiers shared by the resource script and the program. */
#pragma once

#define KORVANE16_ICON_RESOURCE 128
