#include "editing/HistoryText.h"

#include <string>

#include "services/Localization.h"

namespace QuillonCore {

namespace {

struct HistoryTextRow {
    HISTORY_ID id;
    const char* key;  // under "EDITLOG/" in the catalogue; null: no text
    bool mergeable;
};

// clang-format off
constexpr HistoryTextRow kRows[] = {
    {kHistoryNone, nullptr, true},
    {kHistoryAlignObjects, "ALIGN OBJECTS", true},
    {kHistoryAddOrChangePictures, "ADD OR CHANGE PICTURES", true},
    {kHistoryAddArrow, "ADD ARROW", true},
    {kHistoryAddChangeBarcode, "ADD/CHANGE BARCODE", false},
    {kHistoryFlattenBlends, "FLATTEN BLENDS", true},
    {kHistoryAddChangeBoxes, "ADD/CHANGE BOXES", true},
    {kHistoryCopyObjects, "COPY OBJECTS", true},
    {kHistoryColorManagement, "COLOR MANAGEMENT", true},
    {kHistoryEditContones, "EDIT CONTONES", true},
    {kHistoryEditMultisteps, "EDIT MULTISTEPS", true},
    {kHistoryEditPaths, "EDIT PATHS", true},
    {kHistoryInsertJob, "INSERT JOB", true},
    {kHistoryFlattenTransparencies, "FLATTEN TRANSPARENCIES", true},
    {kHistoryChangeOrderOfObjects, "CHANGE ORDER OF OBJECTS", true},
    {kHistoryPickStationNumber, "PICK STATION NUMBER", true},
    {kHistoryAddRemoveChangeLayers, "ADD/REMOVE/CHANGE LAYERS", true},
    {kHistoryChangeScreening, "CHANGE SCREENING", true},
    {kHistoryChangePaint, "CHANGE PAINT", true},
    {kHistoryChangeSeparations, "CHANGE SEPARATIONS", true},
    {kHistoryExecutePlugIn, "EXECUTE PLUG-IN", true},
    {kHistoryStepAndRepeat, "STEP AND REPEAT", true},
    {kHistoryAddRegistrationMarks, "ADD REGISTRATION MARKS", true},
    {kHistoryDeleteObjects, "DELETE OBJECTS", true},
    {kHistoryMoveScaleOrRotateObjects, "MOVE/SCALE OR ROTATE OBJECTS", true},
    {kHistorySeparate, "SEPARATE", true},
    {kHistorySetOperations, "SET OPERATIONS", true},
    {kHistoryTrapping, "TRAPPING", true},
    {kHistoryAddChangeText, "ADD/CHANGE TEXT", true},
    {kHistoryVectorization, "VECTORIZATION", true},
    {kHistoryWarp, "WARP", true},
    {kHistoryChangeJobSize, "CHANGE JOB SIZE", true},
    {kHistoryImportPdfFile, "IMPORT PDF FILE", false},
    {kHistoryExportToPdfFile, "EXPORT TO PDF FILE", false},
    {kHistoryChangeTransparency, "CHANGE TRANSPARENCY", true},
    {kHistoryOptimizePaths, "OPTIMIZE PATHS", true},
    {kHistoryUnitePaths, "UNITE PATHS", true},
    {kHistoryExcludePaths, "EXCLUDE PATHS", true},
    {kHistoryRemoveOverlappingObjectParts, "REMOVE OVERLAPPING OBJECT PARTS", true},
    {kHistoryIntersectPaths, "INTERSECT PATHS", true},
    {kHistoryClipPaths, "CLIP PATHS", true},
    {kHistoryUpdateTandemParameters, "UPDATE TANDEM PARAMETERS", true},
    {kHistoryImportPostscriptFile, "IMPORT POSTSCRIPT FILE", false},
    {kHistoryRemoveRegistrationMarks, "REMOVE REGISTRATION MARKS", true},
    {kHistoryExportToJdfFile, "EXPORT TO JDF FILE", false},
    {kHistoryImportMarks, "IMPORT MARKS", false},
    {kHistoryUndeleteObjects, "UNDELETE OBJECTS", true},
    {kHistoryImportColorConversion, "IMPORT COLOR CONVERSION", true},
    {kHistoryImportShadingConversionToImage, "IMPORT SHADING CONVERSION TO IMAGE", true},
    {kHistoryImportTextConversion, "IMPORT TEXT CONVERSION", true},
    {kHistorySeparationsRemapped, "SEPARATIONS REMAPPED", true},
    {kHistorySeparation, "SEPARATION", false},
    {kHistoryCompensateColor, "COMPENSATE COLOR", true},
    {kHistoryWarpToGrid, "WARP TO GRID", true},
    {kHistoryEditNote, "EDIT NOTE", true},
    {kHistoryCreateMaleDie, "CREATE MALE DIE", false},
    {kHistoryCreateFemaleDie, "CREATE FEMALE DIE", false},
    {kHistoryStroke, "STROKE", true},
    {kHistoryFixThinParts, "FIX THIN PARTS", true},
    {kHistoryWhiteUnderprint, "WHITE UNDERPRINT", true},
    {kHistoryRichBlack, "RICH BLACK", true},
    {kHistoryRenameObject, "RENAME OBJECT", false},
    {kHistoryImportStructuralDesignFile, "IMPORT STRUCTURAL DESIGN FILE", false},
    {kHistoryScaleTextToFit, "SCALE TEXT TO FIT", true},
    {kHistoryUndoLastAction, "UNDO LAST ACTION", true},
};
// clang-format on

const HistoryTextRow* findRow(HISTORY_ID id) {
    for (const HistoryTextRow& row : kRows)
        if (row.id == id) return &row;
    return nullptr;
}

}  // namespace

const char* HistoryText::Key(HISTORY_ID id) {
    const HistoryTextRow* row = findRow(id);
    return row ? row->key : nullptr;
}

bool HistoryText::IsMergeable(HISTORY_ID id) {
    const HistoryTextRow* row = findRow(id);
    return row && row->mergeable;
}

ustring HistoryText::Description(HISTORY_ID id) {
    const char* key = Key(id);
    if (!key) return {};
    return GetLocalizedUni16String(std::string("EDITLOG/") + key, "");
}

}  // namespace QuillonCore
