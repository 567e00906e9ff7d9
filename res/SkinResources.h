// The generated skin lives in a static library; its resources must be registered
// once before the first ":/skin/<id>.png" is loaded.
#pragma once

void InitSkinResources();
