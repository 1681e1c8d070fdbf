/* The plug-in library is made of the statlume_code objects; this unit only gives
   the linker a source of its own. */
typedef int statlume_library_unit;
