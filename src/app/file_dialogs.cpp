#include "app/file_dialogs.h"

namespace qorvale::app {

std::span<char> DialogFolder(OptionsRecord& r, FileDialogId dialog) {
    switch (dialog) {
        case FileDialogId::OpenPgn:
            return r.CurrentFolder;
        case FileDialogId::SearchCriteria:
            return r.SearchCriteriaFolder;
        case FileDialogId::Html:
            return r.HtmlFolder;
        case FileDialogId::SecondPgn:
            return r.SecondPgnFolder;
        case FileDialogId::Bitmap:
            return r.BitmapFolder;
        case FileDialogId::PreviousFile:
            return r.PreviousFolder;
        case FileDialogId::Jpeg:
            return r.JpegFolder;
        case FileDialogId::TreeMerge:
            return r.TreeMergeFolder;
        case FileDialogId::SplitPgn:
            return r.SplitFolder;
        case FileDialogId::CraftyPosition:
            return r.CraftyPositionFolder;
        case FileDialogId::CraftyGame:
            return r.CraftyGameFolder;
        case FileDialogId::CraftyAnnotation:
            return r.CraftyAnnotationFolder;
        case FileDialogId::CraftyExecutable:
            return r.CraftyExecutableFolder;
        case FileDialogId::Database:
            return r.DatabaseFolder;
        case FileDialogId::YahooGame:
            return r.YahooGameFolder;
        case FileDialogId::YahooPgn:
            return r.YahooPgnFolder;
        case FileDialogId::Gif:
            return r.GifFolder;
        case FileDialogId::Png:
            return r.PngFolder;
        case FileDialogId::ExtractedVariations:
            return r.ExtractedVariationsFolder;
        case FileDialogId::UciEngine:
            return r.UciEngineFolder;
    }
    return r.CurrentFolder;
}

std::span<char> DialogFileName(OptionsRecord& r, FileDialogId dialog) {
    switch (dialog) {
        case FileDialogId::OpenPgn:
            return r.CurrentFileName;
        case FileDialogId::SearchCriteria:
            return r.SearchCriteriaFileName;
        case FileDialogId::Html:
            return r.HtmlFileName;
        case FileDialogId::SecondPgn:
            return r.SecondPgnFileName;
        case FileDialogId::Bitmap:
            return r.BitmapFileName;
        case FileDialogId::PreviousFile:
            return r.PreviousFileName;
        case FileDialogId::Jpeg:
            return r.JpegFileName;
        case FileDialogId::TreeMerge:
            return r.TreeMergeFileName;
        case FileDialogId::SplitPgn:
            return r.SplitFileName;
        case FileDialogId::CraftyPosition:
            return r.CraftyPositionFileName;
        case FileDialogId::CraftyGame:
            return r.CraftyGameFileName;
        case FileDialogId::CraftyAnnotation:
            return r.CraftyAnnotationFileName;
        case FileDialogId::CraftyExecutable:
            return r.CraftyExecutableFileName;
        case FileDialogId::Database:
            return r.DatabaseFileName;
        case FileDialogId::YahooGame:
            return r.YahooGameFileName;
        case FileDialogId::YahooPgn:
            return r.YahooPgnFileName;
        case FileDialogId::Gif:
            return r.GifFileName;
        case FileDialogId::Png:
            return r.PngFileName;
        case FileDialogId::ExtractedVariations:
            return r.ExtractedVariationsFileName;
        case FileDialogId::UciEngine:
            return r.UciEngineFileName;
    }
    return r.CurrentFileName;
}

}  // namespace qorvale::app
