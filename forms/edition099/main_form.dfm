object Form1: TForm1
  Left = 241
  Top = 190
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'The program for adjustment of radio station KORVAL 4M-30'
  ClientHeight = 511
  ClientWidth = 642
  Color = clBtnFace
  Font.Charset = RUSSIAN_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  Position = poDesktopCenter
  Scaled = False
  object RadioGroup1: TRadioGroup
    Left = 8
    Top = 0
    Width = 129
    Height = 129
    Caption = ' Ports '
    TabOrder = 1
    OnClick = RadioGroup1Click
  end
  object Label14: TLabel
    Left = 8
    Top = 136
    Width = 59
    Height = 13
    Caption = 'Rate RS232'
  end
  object ComboBox1: TComboBox
    Left = 8
    Top = 160
    Width = 129
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 0
    TabOrder = 4
    Items.Strings = (
      '4800'
      '9600'
      '19200')
  end
  object Button2: TButton
    Left = 8
    Top = 192
    Width = 129
    Height = 25
    Caption = 'Connection'
    TabOrder = 2
    OnClick = Button2Click
  end
  object Button3: TButton
    Left = 8
    Top = 224
    Width = 129
    Height = 25
    Caption = 'Read'
    Enabled = False
    TabOrder = 5
    OnClick = Button3Click
  end
  object Button6: TButton
    Left = 8
    Top = 256
    Width = 129
    Height = 25
    Caption = 'Info'
    Enabled = False
    TabOrder = 6
    OnClick = Button6Click
  end
  object ListBox1: TListBox
    Left = 16
    Top = 360
    Width = 121
    Height = 97
    ItemHeight = 13
    TabOrder = 7
    Visible = False
    Items.Strings = (
      'Hz'
      'Disconnect'
      'Connection with device succefully established'
      'Error. Port already open'
      'Error of port opening'
      'Error of port configuration'
      'Error port writing'
      'Error device connection'
      'Connection'
      'Connection with device broken'
      'Reading data from device'
      'Data block succefully read from device'
      'Working Range:'
      '33.000-39.975 MHz'
      '40.000-48.500 MHz'
      '57.000-57.500 MHz'
      '[Error]'
      'During data reading has been detected error frequencys, out of working range. Error fixed.'
      'Warning!'
      'WARNING!'
      'Error reading data block from device'
      'Writing channels data to device'
      'Error of connection with device'
      'Error writing data to device'
      '(channels)'
      '(ctcss rx)'
      '(ctcss tx)'
      'Writing channels to device complete'
      'Reset sequence transferred to device'
      'Error reset sequence transfer'
      'Reading device Info'
      'Error writing litera of Range'
      'Input frequency'
      '(channel #'
      'of receive'
      'of transmit'
      'File with settings'
      'loaded succefully'
      'Error loading file of settins'
      'Error file opening!'
      'File already exists. Rewrite?'
      'succefully rewroted'
      'Error of rewriting settings file'
      'succefully created'
      'Error creating settings file'
      'Rewrite file?'
      'Error writing file!'
      'Error reading file!'
      '66.000-88.500 MHz'
      '')
  end
  object Button1: TButton
    Left = 8
    Top = 480
    Width = 129
    Height = 25
    Caption = 'Exit'
    TabOrder = 0
    OnClick = Button1Click
  end
  object GroupBox1: TGroupBox
    Left = 144
    Top = 0
    Width = 497
    Height = 505
    Caption = ' Device setup '
    TabOrder = 3
    object Label1: TLabel
      Left = 8
      Top = 16
      Width = 39
      Height = 13
      Caption = 'Channel'
    end
    object Label2: TLabel
      Left = 56
      Top = 16
      Width = 44
      Height = 13
      Caption = 'Rx (MHz)'
    end
    object Label3: TLabel
      Left = 184
      Top = 16
      Width = 43
      Height = 13
      Caption = 'Tx (MHz)'
    end
    object Label15: TLabel
      Left = 315
      Top = 16
      Width = 57
      Height = 13
      Caption = 'CTCSS (Rx)'
    end
    object Label16: TLabel
      Left = 395
      Top = 16
      Width = 56
      Height = 13
      Caption = 'CTCSS (Tx)'
    end
    object ScrollBox1: TScrollBox
      Left = 8
      Top = 32
      Width = 481
      Height = 249
      TabOrder = 1
    end
    object Panel1: TPanel
      Left = 8
      Top = 288
      Width = 401
      Height = 25
      BevelInner = bvRaised
      BevelOuter = bvLowered
      Caption = 'Working Range [unknown]'
      TabOrder = 2
    end
    object Button8: TButton
      Left = 416
      Top = 288
      Width = 75
      Height = 25
      Caption = 'Write'
      Enabled = False
      TabOrder = 3
      OnClick = Button8Click
    end
    object Memo1: TMemo
      Left = 8
      Top = 320
      Width = 481
      Height = 177
      Color = clBtnFace
      ReadOnly = True
      ScrollBars = ssNone
      TabOrder = 0
    end
  end
  object MainMenu1: TMainMenu
    Left = 8
    Top = 288
    object N1: TMenuItem
      Caption = 'File'
      object N2: TMenuItem
        Caption = 'Open'
        OnClick = N2Click
      end
      object N3: TMenuItem
        Caption = 'Save'
        OnClick = N3Click
      end
      object N4: TMenuItem
        Caption = 'Save As...'
        OnClick = N4Click
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object N6: TMenuItem
        Caption = 'Exit'
        OnClick = N6Click
      end
    end
    object N7: TMenuItem
      Caption = 'About'
      object N8: TMenuItem
        Caption = 'About'
        OnClick = N8Click
      end
    end
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Tunes files (*.tun)|*.tun|All files (*.*)|*.*'
    InitialDir = '.'
    Title = 'Open settings file'
    Left = 40
    Top = 288
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Tunes files (*.tun)|*.tun|All files (*.*)|*.*'
    InitialDir = '.'
    Title = 'Save settings file'
    Left = 72
    Top = 288
  end
end
