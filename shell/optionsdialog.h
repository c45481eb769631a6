#pragma once
// The options dialog.
