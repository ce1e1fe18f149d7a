// The host's view of the plug-in: the entry points as the host's compiler
// declares them (global namespace, cdecl, the platform's COleDateTime). Built
// with clang for i686-pc-windows-msvc, its undefined symbols are the
// decorated names the DLL must export; check_dll_tables.py compares them.

class COleDateTime;
typedef const char* Text;

int AddData0(Text, Text, COleDateTime*, COleDateTime*, COleDateTime*, COleDateTime*,
             unsigned int, unsigned int, Text, Text, Text, Text, Text, Text, Text, Text,
             Text, Text, Text, Text, Text, Text, Text, int, int, int, double, double,
             Text, Text, Text, Text, Text);
int RemoveData0(Text, Text, COleDateTime*, COleDateTime*, COleDateTime*, COleDateTime*,
                unsigned int, unsigned int, Text, Text, Text, Text, Text, Text, Text,
                Text, Text, Text, Text, Text, Text, Text, Text, int, int, int, double,
                double, Text, Text, Text, Text, Text);
int ResetStats0(Text, int, Text, COleDateTime*, COleDateTime*, Text, Text, Text, Text,
                Text, Text, Text, Text, Text, Text, int, int, int, double, double, Text,
                Text, Text);
int CheckCallFunc0(Text, unsigned int, unsigned int, Text, Text, Text, Text, Text, Text,
                   Text, Text, Text, Text, Text, int, int, int, double, double, Text,
                   Text, Text, Text, Text, Text, Text, char*, char*);
int StatsIsValidExchg0(Text, Text, Text, Text, int, int, int);
const char* GetResult0(int*);
int GetNumberOfSets(void);
int StatsGetExchgCount0(Text, Text, Text);
const char* GetSetName(int);
void SetupSet0(void);

// Each line: the plain export that must share the decorated symbol's body.
// check_dll_tables.py reads these comments.
// PLAIN AddData0 = AddData0
// PLAIN RemoveData0 = RemoveData0
// PLAIN ResetStats0 = ResetStats0
// PLAIN CheckCall0 = CheckCallFunc0
// PLAIN IsValidExchg0 = StatsIsValidExchg0
// PLAIN GetResult0 = GetResult0
// PLAIN GetNumberOfSets = GetNumberOfSets
// PLAIN GetExchgCount0 = StatsGetExchgCount0
// PLAIN GetSetName = GetSetName
// PLAIN SetupSet0 = SetupSet0

extern void* const kUsed[];
void* const kUsed[] = {
    reinterpret_cast<void*>(&AddData0),
    reinterpret_cast<void*>(&RemoveData0),
    reinterpret_cast<void*>(&ResetStats0),
    reinterpret_cast<void*>(&CheckCallFunc0),
    reinterpret_cast<void*>(&StatsIsValidExchg0),
    reinterpret_cast<void*>(&GetResult0),
    reinterpret_cast<void*>(&GetNumberOfSets),
    reinterpret_cast<void*>(&StatsGetExchgCount0),
    reinterpret_cast<void*>(&GetSetName),
    reinterpret_cast<void*>(&SetupSet0),
};
