#include "swf/movie/movie.h"
#include "swf/movie/tag_codes.h"

namespace swf {

const char* tagName(int code) {
  switch (code) {
#define RV_TAG(n) \
  case tag::n:    \
    return #n;
    RV_TAG(End)
    RV_TAG(ShowFrame)
    RV_TAG(DefineShape) RV_TAG(PlaceObject) RV_TAG(RemoveObject) RV_TAG(DefineBits) RV_TAG(
        DefineButton) RV_TAG(JPEGTables) RV_TAG(SetBackgroundColor) RV_TAG(DefineFont)
        RV_TAG(DefineText) RV_TAG(DoAction) RV_TAG(DefineFontInfo) RV_TAG(DefineSound) RV_TAG(
            StartSound) RV_TAG(DefineButtonSound) RV_TAG(SoundStreamHead) RV_TAG(SoundStreamBlock)
            RV_TAG(DefineBitsLossless) RV_TAG(DefineBitsJPEG2) RV_TAG(DefineShape2) RV_TAG(
                DefineButtonCxform) RV_TAG(Protect) RV_TAG(PlaceObject2) RV_TAG(RemoveObject2)
                RV_TAG(DefineShape3) RV_TAG(DefineText2) RV_TAG(DefineButton2) RV_TAG(
                    DefineBitsJPEG3) RV_TAG(DefineBitsLossless2) RV_TAG(DefineEditText)
                    RV_TAG(DefineSprite) RV_TAG(FrameLabel) RV_TAG(SoundStreamHead2) RV_TAG(
                        DefineMorphShape) RV_TAG(DefineFont2) RV_TAG(ExportAssets)
                        RV_TAG(ImportAssets) RV_TAG(EnableDebugger) RV_TAG(DoInitAction) RV_TAG(
                            DefineVideoStream) RV_TAG(VideoFrame) RV_TAG(DefineFontInfo2)
                            RV_TAG(EnableDebugger2) RV_TAG(ScriptLimits) RV_TAG(SetTabIndex)
                                RV_TAG(FileAttributes) RV_TAG(PlaceObject3) RV_TAG(ImportAssets2)
                                    RV_TAG(DefineFontAlignZones) RV_TAG(CSMTextSettings)
                                        RV_TAG(DefineFont3) RV_TAG(SymbolClass) RV_TAG(Metadata)
                                            RV_TAG(DefineScalingGrid) RV_TAG(DoABC)
                                                RV_TAG(DefineShape4) RV_TAG(DefineMorphShape2)
                                                    RV_TAG(DefineSceneAndFrameLabelData)
                                                        RV_TAG(DefineBinaryData)
                                                            RV_TAG(DefineFontName)
                                                                RV_TAG(StartSound2)
                                                                    RV_TAG(DefineBitsJPEG4)
                                                                        RV_TAG(DefineFont4)
#undef RV_TAG
                                                                            default : return "";
  }
}

}  // namespace swf
