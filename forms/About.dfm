object AboutBox: TAboutBox
  Left = 200
  Top = 108
  BorderStyle = bsDialog
  Caption = 'About'
  ClientHeight = 213
  ClientWidth = 298
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 281
    Height = 161
    BevelInner = bvRaised
    BevelOuter = bvLowered
    TabOrder = 0
    object ProgramIcon: TImage
      Left = 8
      Top = 8
      Width = 105
      Height = 89
      Picture = ':/forms/About.png'
      Stretch = True
    end
    object ProductName: TLabel
      Left = 128
      Top = 8
      Width = 134
      Height = 80
      AutoSize = False
      Caption = 'The program for adjustment of radio station KORVAL 4M-30'
      Font.Color = clWindowText
      Font.Height = -16
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      WordWrap = True
    end
    object Version: TLabel
      Left = 130
      Top = 88
      Width = 130
      Height = 16
      Alignment = taCenter
      Caption = 'Version v1.02 int'
      Font.Color = clWindowText
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = []
    end
    object Label1: TLabel
      Left = 8
      Top = 112
      Width = 104
      Height = 13
      Caption = 'Author: Pavel Sokolov'
    end
    object Label2: TLabel
      Left = 128
      Top = 112
      Width = 32
      Height = 13
      Caption = 'e-mail:'
    end
    object Label3: TLabel
      Left = 160
      Top = 112
      Width = 103
      Height = 13
      Cursor = crHandPoint
      Caption = 'sokolov@example.org'
      Font.Color = clBlue
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsUnderline]
      OnClick = Label3Click
    end
    object Label4: TLabel
      Left = 8
      Top = 128
      Width = 198
      Height = 26
      Caption = 'Developed for OOO "Velitrox", Zarechensk'
      WordWrap = True
    end
    object Label5: TLabel
      Left = 80
      Top = 144
      Width = 32
      Height = 13
      Caption = 'e-mail:'
    end
    object Label6: TLabel
      Left = 112
      Top = 144
      Width = 103
      Height = 13
      Cursor = crHandPoint
      Caption = 'velitrox@example.org'
      Font.Color = clBlue
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsUnderline]
      OnClick = Label6Click
    end
  end
  object OKButton: TButton
    Left = 111
    Top = 180
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = OKButtonClick
  end
end
