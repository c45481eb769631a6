#pragma once
// The About box.
