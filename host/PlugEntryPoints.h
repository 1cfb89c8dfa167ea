// The three functions every plug-in exports, as the host asks for them (decorated names, which
// the layer looks up by their identifier) and with their types.
#pragma once

struct SdkFunctions;
class VornithPlugsFactory;

const char kLibVersionName[] = "?LibVersion@@YAMXZ";
const char kSetHandlersName[] = "?SetHandlers@@YA_NPAUSdkFunctions@@@Z";
const char kGetPlugsFactoryName[] = "?GetPlugsFactory@@YAPAVVornithPlugsFactory@@XZ";

typedef float (*LibVersionProc)();
typedef bool (*SetHandlersProc)(SdkFunctions*);
typedef VornithPlugsFactory* (*GetPlugsFactoryProc)();
